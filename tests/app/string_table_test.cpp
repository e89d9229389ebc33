#include <gtest/gtest.h>

#include "app/string_table.h"

namespace {

TEST(StringTable, NumberedTextsAreFoundAndFormatted)
{
    EXPECT_EQ(FormatStr(LoadStr(541).c_str(), 120), "Font Count=120");
    EXPECT_EQ(FormatStr(LoadStr(532).c_str(), 87),
              "Error Occured. Error Code : 87\n\nPlease mail me an error code and situation error "
              "occured.");
    EXPECT_EQ(FormatStr(LoadStr(900).c_str(), 3), "Selected 3 Fonts");
    EXPECT_EQ(LoadStr(601), "\n\nFind Text:");
    EXPECT_EQ(LoadStr(700), "Character Map -  ");
    EXPECT_EQ(LoadStr(610), "Screen Fonts");
    EXPECT_EQ(LoadStr(611), "Installed Fonts");
    EXPECT_EQ(LoadStr(612), "Fonts in folder");
}

TEST(StringTable, UnknownNumbersGiveEmptyTexts)
{
    EXPECT_EQ(LoadStr(499), "");
    EXPECT_EQ(LoadStr(542), "");
    EXPECT_EQ(FormatStr(LoadStr(542).c_str()), "");
}

TEST(StringTable, FormattingIsNotLimitedToAFixedBuffer)
{
    const std::string longName(5000, 'a');
    EXPECT_EQ(FormatStr("%s - %s", longName.c_str(), "x").size(), 5004u);
}

}  // namespace
