#include "picturewriter.h"
#include "filenametext.h"
#include "graphtestsupport.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr QRgb kPixelColour = qRgb(200, 30, 40);

struct FormatCase {
    const char* ending;
    ChartFormat format;
    const char* signature; // the first bytes of every file of the format
};

const FormatCase kFormats[] = {
    {".png", ChartFormat::Png, "\x89PNG"},
    {".svg", ChartFormat::Svg, "<?xml"},
    {".pdf", ChartFormat::Pdf, "%PDF"},
};

bool fill(QPaintDevice& device, QRgb colour) {
    QPainter painter(&device);
    painter.fillRect(0, 0, device.width(), device.height(), QColor(colour));
    return painter.end();
}

// A picture that paints its image red and its documents blue.
PictureWriter paintedPicture(QSize size) {
    return PictureWriter(
        QStringLiteral("chart"), size, [](QImage& image) { return fill(image, kPixelColour); },
        [](QPaintDevice& device) { return fill(device, qRgb(0, 0, 255)); });
}

std::string readFile(const std::string& bytes) {
    std::string text;
    const int fd = ::open(bytes.c_str(), O_RDONLY);
    if (fd < 0)
        return text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    return text;
}

void writeFile(const std::string& bytes, const std::string& text) {
    const int fd = ::open(bytes.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(fd);
}

// The names in `folder` as the system has them.
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return names;
    while (const dirent* entry = ::readdir(dir))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    ::closedir(dir);
    return names;
}

class PictureWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGuiApplication();
        ASSERT_TRUE(temporary.isValid());
        folder = QFile::encodeName(temporary.path()).toStdString();
    }

    // The file name of the bytes `name` in the folder, as the program keeps it as text.
    QString pathOf(const std::string& name) const {
        return fileNameFromBytes(QByteArray::fromStdString(folder + '/' + name));
    }

    QTemporaryDir temporary;
    std::string folder;
};

// "\xff" and "\xe9" are no UTF-8: a name made of text bytes would name another file.
TEST_F(PictureWriterTest, ANameThatIsNoUtf8NamesTheFileByteForByte) {
    for (const FormatCase& c : kFormats) {
        const std::string name = std::string("chart-\xff\xe9-") + c.ending;
        PictureWriter picture = paintedPicture(QSize(64, 40));
        EXPECT_EQ(picture.writeFile(pathOf(name)), QString()) << c.ending;
        const std::string written = readFile(folder + '/' + name);
        EXPECT_EQ(written.rfind(c.signature, 0), 0u) << c.ending;
        EXPECT_EQ(namesIn(folder), std::vector<std::string>{name}) << c.ending;
        ::unlink((folder + '/' + name).c_str());
    }
}

// PNG takes the image's pixels, the documents the drawing; the PNG's bytes are EncodePng's.
TEST_F(PictureWriterTest, PngIsThePixelsEncodedOnceAndDocumentsTheDrawing) {
    PictureWriter picture = paintedPicture(QSize(30, 20));
    const QByteArray png = picture.document(ChartFormat::Png);
    const QImage decoded = QImage::fromData(png, "PNG");
    ASSERT_EQ(decoded.size(), QSize(30, 20));
    EXPECT_EQ(decoded.pixel(0, 0), kPixelColour);
    EXPECT_EQ(decoded.pixel(29, 19), kPixelColour);
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(QColor(kPixelColour));
    EXPECT_EQ(png, EncodePng(image));
    const QByteArray svg = picture.document(ChartFormat::Svg);
    EXPECT_TRUE(svg.contains("#0000ff")) << svg.left(400).toStdString();
    EXPECT_FALSE(svg.contains("#c81e28"));
}

// Whatever fails, the file written before stays whole and the failure says why.
TEST_F(PictureWriterTest, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    const auto refused = [](QImage&) { return false; };
    const auto unpainted = [](QPaintDevice&) { return false; };
    const auto painted = [](QPaintDevice& device) { return fill(device, qRgb(0, 0, 0)); };
    struct Case {
        const char* what;
        const char* ending;
        QSize size;
        bool drawn;
        bool readOnly;
        QString reason;
    };
    const Case cases[] = {
        {"image not drawn",
         ".png",
         {40, 30},
         false,
         false,
         "the toolpath could not be drawn at 40 x 30"},
        {"svg not drawn",
         ".svg",
         {40, 30},
         false,
         false,
         "the toolpath could not be drawn at 40 x 30"},
        {"pdf not drawn",
         ".pdf",
         {40, 30},
         false,
         false,
         "the toolpath could not be drawn at 40 x 30"},
        {"no size", ".png", {0, 30}, true, false, "the toolpath could not be drawn at 0 x 30"},
        {"png refused", ".png", {40, 30}, true, true, std::strerror(EACCES)},
        {"svg refused", ".svg", {40, 30}, true, true, std::strerror(EACCES)},
        {"pdf refused", ".pdf", {40, 30}, true, true, std::strerror(EACCES)},
        {"other ending", ".gif", {40, 30}, true, false, "the name must end in .png, .svg or .pdf"},
    };
    for (const Case& c : cases) {
        const std::string name = std::string("old-\xfe") + c.ending;
        const std::string bytes = folder + '/' + name;
        writeFile(bytes, "the old picture");
        if (c.readOnly) {
            ASSERT_EQ(::chmod(bytes.c_str(), 0444), 0);
        }
        PictureWriter picture =
            c.drawn ? PictureWriter(QStringLiteral("toolpath"), c.size, painted)
                    : PictureWriter(QStringLiteral("toolpath"), c.size, refused, unpainted);
        EXPECT_EQ(picture.writeFile(pathOf(name)), c.reason) << c.what;
        EXPECT_EQ(picture.failure(), c.reason) << c.what;
        EXPECT_EQ(readFile(bytes), "the old picture") << c.what;
        EXPECT_EQ(namesIn(folder), std::vector<std::string>{name}) << c.what;
        ::unlink(bytes.c_str());
    }
}

TEST_F(PictureWriterTest, ASuccessAfterAFailureReportsNoFailure) {
    PictureWriter picture = paintedPicture(QSize(20, 10));
    EXPECT_FALSE(picture.writeFile(pathOf("x.gif")).isEmpty());
    EXPECT_FALSE(picture.document(ChartFormat::Pdf).isEmpty());
    EXPECT_EQ(picture.failure(), QString());
}

} // namespace
