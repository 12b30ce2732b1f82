#include "curvexhostsupport.h"

#include <gtest/gtest.h>

using namespace curvextest;

using CurvexLoadErrorTest = CurvexHostTest;

TEST_F(CurvexLoadErrorTest, TheLastLoadSaysWhyItFailed) {
    EXPECT_EQ(call(curvex::DispGetLoadError).toString(), QString()) << "nothing loaded yet";
    EXPECT_FALSE(call(5, {QStringLiteral("samples/no-such-file.txt"), 1}).toBool());
    EXPECT_EQ(call(curvex::DispGetLoadError).toString(),
              QStringLiteral("cannot open the file: No such file or directory"));
    EXPECT_FALSE(call(5, {QStringLiteral("samples/CUTDATA.txt"), 0}).toBool());
    EXPECT_TRUE(call(curvex::DispGetLoadError).toString().startsWith("truncated entry"));
    EXPECT_TRUE(loadSample());
    EXPECT_EQ(call(curvex::DispGetLoadError).toString(), QString());
    QVariantList extra{1};
    EXPECT_EQ(hosted->control().invoke(curvex::DispGetLoadError, component::InvokeKind::Method,
                                       extra, nullptr),
              component::InvokeResult::BadParamCount);
}
