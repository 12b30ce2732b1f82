#include "commandoutput.h"

#include "commandarguments.h"
#include "commands.h"
#include "filenametext.h"
#include "viewoptions.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

bool PictureOutput::readFormat() {
    if (toStandardOutput())
        return true;
    const auto found = ChartFormatOf(QString::fromLocal8Bit(path.c_str()));
    if (!found) {
        std::fprintf(stderr,
                     "curvex: the output file must end in .png, .svg or .pdf (or be - for PNG on "
                     "standard output), not '%s'\n",
                     path.c_str());
        return false;
    }
    format = *found;
    return true;
}

int PictureOutput::cannotWrite(const std::string& reason) const {
    std::fprintf(stderr, "curvex: cannot write %s: %s\n",
                 toStandardOutput() ? "to standard output" : path.c_str(), reason.c_str());
    return kExitOutput;
}

int PictureOutput::write(const QByteArray& document) const {
    if (!toStandardOutput()) {
        const QString reason =
            ReplacePictureFile(fileNameFromBytes(QByteArray::fromStdString(path)), document);
        return reason.isEmpty() ? kExitOk : cannotWrite(reason.toLocal8Bit().toStdString());
    }
    const auto size = static_cast<std::size_t>(document.size());
    if (std::fwrite(document.constData(), 1, size, stdout) != size || std::fflush(stdout) != 0)
        return cannotWrite(std::strerror(errno));
    return kExitOk;
}

int PictureOutput::write(PictureWriter& writer) const {
    const QByteArray document = writer.document(format);
    if (document.isEmpty())
        return cannotWrite(writer.failure().toLocal8Bit().toStdString());
    return write(document);
}

QImage frameImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        std::fprintf(stderr, "curvex: not enough memory for a %dx%d image\n", width, height);
    return image;
}

void reportFrameTimes(std::vector<double> millis) {
    std::sort(millis.begin(), millis.end());
    const std::size_t n = millis.size();
    const double median = n % 2 ? millis[n / 2] : (millis[n / 2 - 1] + millis[n / 2]) / 2.0;
    std::fprintf(stderr, "frames: %zu  median ms: %.3f  max ms: %.3f\n", n, median, millis.back());
}

bool readFrames(const CommandArgumentList& arguments, int& frames) {
    const std::string* count = arguments.value(kFramesOption.name);
    std::uint64_t read = 0;
    if (!count)
        return true;
    if (!readOptionCount(kFramesOption.name, *count, 1, INT_MAX, read))
        return false;
    frames = static_cast<int>(read);
    return true;
}

int readSettingsFile(ChartSettingsFile& file, const std::string& iniFile) {
    const ChartSettingsFile::Failure failure = file.read(iniFile);
    if (failure == ChartSettingsFile::Failure::None)
        return kExitOk;
    std::fprintf(stderr, "curvex: %s\n", file.reason().c_str());
    return failure == ChartSettingsFile::Failure::CannotUse ? kExitUsage : kExitFailure;
}

std::unique_ptr<QGuiApplication> startOffscreenApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "curvex";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}
