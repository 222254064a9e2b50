#include <tessiv/scene/kstring.h>

#include <gtest/gtest.h>

namespace {

TEST(StringTest, AssignsCopiesAndReportsLength)
{
    kolt::String empty;
    EXPECT_EQ(empty.len(), 0);
    EXPECT_EQ(empty.at(0), '\0') << "a default string still has a terminated buffer";

    kolt::String name;
    name = "Node01";
    name.at(4) = '9';
    EXPECT_EQ(name.len(), 6);
    EXPECT_STREQ(name.getbuf(), "Node91") << "at() reaches into the buffer";

    kolt::String copy(name), assigned;
    copy.at(0) = 'M';
    assigned = copy;
    EXPECT_STREQ(name.getbuf(), "Node91") << "a copy owns its own buffer";
    kolt::String const &same = assigned;
    assigned = same;
    EXPECT_STREQ(assigned.getbuf(), "Mode91") << "self-assignment keeps the text";
    assigned = assigned.getbuf() + 2;
    EXPECT_STREQ(assigned.getbuf(), "de91") << "assigning from its own buffer is safe";
    assigned = static_cast<char const *>(nullptr);
    EXPECT_STREQ(assigned.getbuf(), "");
    EXPECT_EQ(kolt::String("abc").len(), 3);
}

}  // namespace
