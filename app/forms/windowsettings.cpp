#include "windowsettings.h"

#include "appstate.h"
#include "curvexids.h"
#include "curvexproxy.h"
#include "numerictext.h"
#include "settingslocation.h"
#include "twips.h"
#include "varnutl.h"

#include <QAction>
#include <QMainWindow>

#include <sys/stat.h>

#include <cerrno>

namespace {

// The settings file keeps the G00 feed as a whole number.
constexpr auto kDefaultG00Feed = static_cast<std::int32_t>(curvex::kDefaultG00Feed);
constexpr int kMaxHalvings = 16;

const QString kProperty = QStringLiteral("Property");
const QString kReference = QStringLiteral("Reference");
const QString kRelation = QStringLiteral("Relation");

QString colorKey(int n) {
    return QStringLiteral("Drawing Color ") + QString::number(n);
}

enum class Lookup { Found, NotFound, Failed };

// Looks a path up as a directory listing would: files and folders are both found.
Lookup lookUpPath(const QString& path) {
    if (path.isEmpty())
        return Lookup::NotFound;
    const QByteArray name = path.toUtf8();
    if (name.contains('\0'))
        return Lookup::Failed;
    struct stat status {};
    if (::stat(name.constData(), &status) == 0)
        return Lookup::Found;
    return errno == ENOENT || errno == ENOTDIR ? Lookup::NotFound : Lookup::Failed;
}

// The number of times `n` can be halved while it is even, at most 16.
int halvings(std::int32_t n) {
    int k = 0;
    while (k < kMaxHalvings && n % 2 == 0) {
        n /= 2;
        ++k;
    }
    return k;
}

} // namespace

WindowSettings::WindowSettings(QMainWindow& window, CurvexProxy& viewer, const MenuItems& functions,
                               const MenuItems& distances)
    : mWindow(window), mViewer(viewer), mFunctions(functions), mDistances(distances) {}

double WindowSettings::dotsPerInch() const {
    return mWindow.logicalDpiY();
}

int WindowSettings::pixelsToTwips(int pixels) const {
    return static_cast<int>(::pixelsToTwips(pixels, dotsPerInch()));
}

void WindowSettings::loadGeometry() {
    const auto read = [this](const char* key, int currentPixels) {
        const QString text = ReadIniWithDefault(
            kProperty, key, shortestText(static_cast<float>(pixelsToTwips(currentPixels))));
        const auto twips = toInt16(text);
        return twips ? ::twipsToPixels(*twips, dotsPerInch()) : currentPixels;
    };
    mWindow.move(mWindow.x(), read("Form Top", mWindow.y()));
    mWindow.move(read("Form Left", mWindow.x()), mWindow.y());
    mWindow.resize(read("Form Width", mWindow.width()), mWindow.height());
    mWindow.resize(mWindow.width(), read("Form Height", mWindow.height()));
}

void WindowSettings::loadChoices() {
    loadInitDirectory();
    gInitFile = ReadIniWithDefault(kReference, QStringLiteral("Init File"), gInitFile);
    loadDrawMode();
    loadDistMode();
    loadG00Feed();
    loadColors();
    gBinSuffix = trimBlanks(ReadIniWithDefault(kRelation, QStringLiteral("Bin Suffix"), {}));
    gTextSuffix = trimBlanks(ReadIniWithDefault(kRelation, QStringLiteral("Text Suffix"), {}));
}

void WindowSettings::loadInitDirectory() {
    const QString value =
        ReadIniWithDefault(kReference, QStringLiteral("Init Directry"), gInitDirectory);
    switch (lookUpPath(value)) {
    case Lookup::Found:
        gInitDirectory = value;
        break;
    case Lookup::Failed:
        gInitDirectory = defaultOpenFolder(gAppFolder);
        break;
    case Lookup::NotFound:
        break;
    }
    if (!gInitDirectory.endsWith(u'/'))
        gInitDirectory += u'/';
}

void WindowSettings::loadDrawMode() {
    const auto mode =
        toInt32(ReadIniWithDefault(kProperty, QStringLiteral("Draw Mode"), QStringLiteral("1")));
    const int k = mode ? halvings(*mode) : 0;
    if (k < static_cast<int>(mFunctions.size()))
        mFunctions[k]->setChecked(true);
    mViewer.setDrawMode(std::int32_t{1} << k);
}

// A mode without a menu item (outside 0 to 2) is taken as 0.
void WindowSettings::loadDistMode() {
    const auto mode =
        toInt16(ReadIniWithDefault(kProperty, QStringLiteral("Dist Mode"), QStringLiteral("0")));
    const int d = mode && *mode >= 0 && *mode < static_cast<int>(mDistances.size()) ? *mode : 0;
    mDistances[d]->setChecked(true);
    mViewer.setDistanceMode(d);
}

void WindowSettings::loadG00Feed() {
    const auto feed = numericValue(ReadIniWithDefault(kProperty, QStringLiteral("G00 Feed"),
                                                      QString::number(kDefaultG00Feed)));
    const auto whole = feed ? roundToInt32(static_cast<float>(*feed)) : std::nullopt;
    mViewer.setG00feed(static_cast<float>(whole.value_or(kDefaultG00Feed)));
}

void WindowSettings::loadColors() {
    std::array<std::int32_t, curvex::kCurveColours> colors{};
    for (int n = 0; n < curvex::kCurveColours; ++n)
        colors[n] = mViewer.getGraphColor(n);
    for (int n = 0; n < curvex::kCurveColours; ++n) {
        const auto stored =
            toInt32(ReadIniWithDefault(kProperty, colorKey(n), QString::number(colors[n])));
        if (stored)
            colors[n] = *stored;
        mViewer.setGraphColor(colors[n], n);
    }
}

void WindowSettings::savePlace() {
    saveGeometry();
    WriteIniValue(kReference, QStringLiteral("Init Directry"), gInitDirectory);
    WriteIniValue(kReference, QStringLiteral("Init File"), gInitFile);
    saveColors();
}

void WindowSettings::saveChoices() {
    const int items = static_cast<int>(mFunctions.size());
    int checked = 0;
    while (checked < items && !mFunctions[checked]->isChecked())
        ++checked;
    WriteIniValue(kProperty, QStringLiteral("Draw Mode"),
                  QString::number(1 << (checked < items ? checked : 0)));
    WriteIniValue(kProperty, QStringLiteral("G00 Feed"), shortestText(mViewer.getG00feed()));
    WriteIniValue(kProperty, QStringLiteral("Dist Mode"), QString::number(mViewer.distanceMode()));
}

void WindowSettings::saveGeometry() {
    const auto write = [this](const char* key, int pixels) {
        WriteIniValue(kProperty, key, shortestText(static_cast<float>(pixelsToTwips(pixels))));
    };
    write("Form Top", mWindow.y());
    write("Form Left", mWindow.x());
    write("Form Width", mWindow.width());
    write("Form Height", mWindow.height());
}

void WindowSettings::saveColors() {
    std::array<std::int32_t, curvex::kCurveColours> colors{};
    for (int n = 0; n < curvex::kCurveColours; ++n)
        colors[n] = mViewer.getGraphColor(n);
    for (int n = 0; n < curvex::kCurveColours; ++n)
        WriteIniValue(kProperty, colorKey(n), QString::number(colors[n]));
}
