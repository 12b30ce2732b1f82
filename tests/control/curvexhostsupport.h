#pragma once

// A test host for the graph control: creates it by class identifier through the component
// layer, calls it by dispatch identifier and records its events, with a per-user component
// registry of its own.

#include "componentexports.h"
#include "controlhost.h"
#include "curvexids.h"
#include "surfaceregistry.h"

#include <QApplication>
#include <QImage>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace curvextest {

// The application object lives until the process ends: destroying it during exit, after Qt's
// own static objects, would crash.
inline QApplication& application() {
    static int argc = 1;
    static char name[] = "curvexhosttest";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

inline QString binFile(const QString& name) {
    return qEnvironmentVariable("PLOTWELL_BIN") + QLatin1Char('/') + name;
}

inline QString controlClsid() {
    return QString::fromLatin1(curvex::kControlClsid);
}

// The exports of bin/Curvex.ocx, resolved by name as a host or the registration tool does.
inline QLibrary& controlLibrary() {
    static QLibrary library(binFile(QStringLiteral("Curvex.ocx")));
    if (!library.isLoaded())
        library.load();
    return library;
}

template <class Fn> Fn controlExport(const char* name) {
    return reinterpret_cast<Fn>(controlLibrary().resolve(name));
}

inline bool waitFor(const std::function<bool()>& condition, int timeoutMs = 2000) {
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (condition())
            return true;
        QTest::qWait(10);
    }
    return condition();
}

struct RecordedEvent {
    int dispid;
    QVariantList args;
};

class RecordingSink : public component::EventSink {
public:
    void onEvent(int dispid, const QVariantList& args) override {
        events.push_back({dispid, args});
    }
    int count(int dispid) const {
        int n = 0;
        for (const RecordedEvent& event : events)
            n += event.dispid == dispid ? 1 : 0;
        return n;
    }
    std::vector<RecordedEvent> events;
};

// A call that must succeed; its result. By-reference arguments come back in `args`.
inline QVariant callOn(component::ControlObject& control, int dispid, QVariantList& args,
                       component::InvokeKind kind = component::InvokeKind::Method) {
    QVariant result;
    const auto status = control.invoke(dispid, kind, args, &result);
    EXPECT_EQ(status, component::InvokeResult::Ok)
        << "dispid " << dispid << ": " << component::describe(status);
    return result;
}

// The control's cached chart, copied onto an image of `size` through OutputPrinter.
inline QImage cachedChart(component::ControlObject& control, QSize size) {
    QImage target(size, QImage::Format_RGB32);
    target.fill(Qt::black);
    component::SurfaceRegistry::Entry surface(&target);
    QVariantList args{surface.handle(), size.width(), size.height()};
    callOn(control, 15, args);
    return target;
}

// One hosted control on a shown host window, with an empty registry in which bin/Curvex.ocx is
// registered.
class CurvexHostTest : public ::testing::Test {
protected:
    static constexpr int kReDrawed = 1;
    static constexpr int kFileDroped = 2;

    static void SetUpTestSuite() { application(); }

    void SetUp() override {
        ASSERT_TRUE(configHome.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
        const auto registerServer =
            controlExport<component::DllRegisterServerFn>(component::kDllRegisterServer);
        ASSERT_NE(registerServer, nullptr) << controlLibrary().errorString().toStdString();
        ASSERT_EQ(registerServer(), component::kOk);
        host = std::make_unique<QWidget>();
        host->resize(1200, 600);
        hosted = create();
        ASSERT_NE(hosted, nullptr);
        widget()->setGeometry(0, 0, 1000, 400);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        // The first paint renders, as ViewRenewal starts TRUE; the tests begin after it.
        ASSERT_TRUE(waitFor([this] { return sink.count(kReDrawed) == 1; }));
        sink.events.clear();
    }

    void TearDown() override {
        hosted.reset();
        host.reset();
    }

    std::unique_ptr<component::HostedControl> create() {
        QString error;
        auto control = component::createControl(controlClsid(), host.get(), &error);
        EXPECT_NE(control, nullptr) << error.toStdString();
        if (control)
            control->control().advise(&sink);
        return control;
    }

    QWidget* widget() { return hosted->control().widget(); }

    // A call that must succeed; its result.
    QVariant call(int dispid, QVariantList args = {},
                  component::InvokeKind kind = component::InvokeKind::Method) {
        return callOn(hosted->control(), dispid, args, kind);
    }

    std::pair<float, float> distArea() {
        QVariantList args{0.0f, 0.0f};
        callOn(hosted->control(), 4, args);
        return {args[0].toFloat(), args[1].toFloat()};
    }

    void setDistArea(float lower, float upper) { call(3, {lower, upper}); }

    void render() {
        call(1, {true}, component::InvokeKind::PropertyPut);
        call(-550);
    }

    bool loadSample() { return call(5, {QStringLiteral("samples/CUTDATA.txt"), 1}).toBool(); }

    QTemporaryDir configHome;
    std::unique_ptr<QWidget> host;
    std::unique_ptr<component::HostedControl> hosted;
    RecordingSink sink;
};

// A host with the part sample loaded and drawn, its events so far forgotten.
class CurvexSampleTest : public CurvexHostTest {
protected:
    void SetUp() override {
        CurvexHostTest::SetUp();
        ASSERT_TRUE(loadSample());
        render();
        sink.events.clear();
    }
};

} // namespace curvextest
