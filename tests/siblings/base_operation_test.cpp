// The document operation's unit scale and the formats it accepts.
#include <tessiv/siblings/fendral/base_operation.h>

#include <gtest/gtest.h>

namespace {

TEST(BaseOperationTest, PrecisionTakesExactlyOneDouble)
{
    CBaseOperation operation;
    EXPECT_EQ(operation.GetUnitScale(), 1.0);
    EXPECT_STREQ(operation.GetPrecision().GetString(), "%.3f");
    operation.SetUnitScale(1000.0);
    EXPECT_EQ(operation.GetUnitScale(), 1000.0);

    for (char const *good : {"%.2f", "%g", "%+08.3e mm", "100%% at %f", "%-10.4G", "%A"})
        EXPECT_TRUE(operation.SetPrecision(good)) << good;
    for (char const *bad : {"%s", "%d", "%f %f", "no conversion", "%*f", "%.*f", "%", "%.999f", "%n", "%lf"})
        EXPECT_FALSE(operation.SetPrecision(bad)) << bad;
    EXPECT_STREQ(operation.GetPrecision().GetString(), "%A") << "a refused format keeps the last good one";
    EXPECT_FALSE(operation.SetPrecision(nullptr));

    EXPECT_TRUE(operation.SetDecimals(0));
    EXPECT_STREQ(operation.GetPrecision().GetString(), "%.0f");
    EXPECT_TRUE(operation.SetDecimals(15));
    EXPECT_FALSE(operation.SetDecimals(16));
    EXPECT_FALSE(operation.SetDecimals(-1));
    CString text;
    text.Format(operation.GetPrecision().GetString(), 1.5);
    EXPECT_STREQ(text.GetString(), "1.500000000000000");
}

}  // namespace
