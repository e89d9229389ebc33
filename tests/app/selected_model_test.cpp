#include <gtest/gtest.h>

#include "app/selected_model.h"
#include "platform/platform.h"

namespace {

// A list of name-only records with the given file sizes, those in `marked` marked.
std::unique_ptr<TFontList> List(TFontListMode mode, const std::vector<int64_t>& sizes,
                                std::initializer_list<int> marked)
{
    auto list = std::make_unique<TFontList>(TPlatform(), false);
    for (size_t i = 0; i < sizes.size(); ++i) {
        auto font = std::make_unique<TFontInfo>();
        font->FullName = "Font " + std::to_string(i);
        font->FileSize = sizes[i];
        list->Add(std::move(font));
    }
    for (int row : marked)
        list->Fonts(row)->Selected = true;
    list->SetMode(mode);
    return list;
}

TEST(SelectedModel, ListsTheMarkedFontsWithTheirPreviewIndexes)
{
    TSelectedModel model;
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&resets] { ++resets; });
    auto list = List(flmFolder, {10, 20, 30, 40}, {1, 3});
    model.Rebuild(*list);
    EXPECT_EQ(resets, 1);  // one reset: the view draws once
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0)).toString(), "Font 1");
    EXPECT_EQ(model.data(model.index(1), TSelectedModel::IndexRole).toInt(), 3);
    EXPECT_FALSE(model.data(model.index(2)).isValid());
    EXPECT_EQ(model.TotalBytes(), 60u);
    EXPECT_EQ(model.Summary(","), "Selected=2 Fonts (60 bytes)");

    list->Fonts(1)->Selected = false;
    list->Fonts(3)->Selected = false;
    model.Rebuild(*list);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.TotalBytes(), 0u);
}

TEST(SelectedModel, ScreenFontsCountWithoutBytesAndOthersAddSixtyFourBitSizes)
{
    TSelectedModel model;
    auto screen = List(flmScreen, {5000000000, 7}, {0, 1});
    model.Rebuild(*screen);
    EXPECT_EQ(model.Summary(","), "Selected=2 Fonts");

    // 2^32 + 1 and 2^32 - 1: cut to 32 bits they would add up to 0.
    auto installed = List(flmInstalled, {4294967297, 4294967295, 1}, {0, 1});
    model.Rebuild(*installed);
    EXPECT_EQ(model.TotalBytes(), 8589934592u);
    EXPECT_EQ(model.Summary(","), "Selected=2 Fonts (8,589,934,592 bytes)");
    // A separator of several bytes (a UTF-8 no-break space).
    EXPECT_EQ(model.Summary("\xC2\xA0"), "Selected=2 Fonts (8\xC2\xA0" "589\xC2\xA0" "934\xC2\xA0" "592 bytes)");
    EXPECT_EQ(model.Summary(""), "Selected=2 Fonts (8589934592 bytes)");
}

TEST(SelectedModel, GroupsEveryDigitByThrees)
{
    EXPECT_EQ(GroupThousands(0, ","), "0");
    EXPECT_EQ(GroupThousands(999, ","), "999");
    EXPECT_EQ(GroupThousands(1000, ","), "1,000");
    EXPECT_EQ(GroupThousands(123456, "."), "123.456");
    EXPECT_EQ(GroupThousands(18446744073709551615u, ","), "18,446,744,073,709,551,615");
}

}  // namespace
