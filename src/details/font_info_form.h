#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

#include "platform/platform.h"

class QLabel;
class QPlainTextEdit;
class TXPButton;
class QTabWidget;
class TFontInfo;
class TRawFontCache;

// The properties window of one font: the names, copyright texts and file of the record on
// "General" (shown only for a record with a file), the face's metrics in pixels at 8 points
// beside an explanatory picture on "Metrics". The metrics come from the font file's own
// tables, read from the preview's face cache, so no other face can stand in for this one.
class TfFontInfo : public QDialog {
    Q_OBJECT
public:
    TfFontInfo(TRawFontCache& cache, const TPlatform& platform, QWidget* parent = nullptr);

    // Fills every label from `font`, its file and its tables.
    void Fill(const TFontInfo& font);
    // Fill, make the first visible page current and show the window modally.
    int FillAndShow(const TFontInfo& font);

    // "1,234,567 bytes" with `separator` between groups of three digits.
    static std::string SizeText(uint64_t bytes, const std::string& separator);
    // The title: the record's name, followed by its English name in parentheses when the
    // file has a different one.
    static std::string TitleText(const std::string& fullName, const std::string& englishName);

    QTabWidget* PageControl1 = nullptr;
    QWidget* General = nullptr;
    QWidget* Matrix = nullptr;
    TXPButton* OK = nullptr;

    QLabel* FontTitle = nullptr;
    QLabel* FullName = nullptr;
    QLabel* FamilyName = nullptr;
    QLabel* Version = nullptr;
    QPlainTextEdit* Copyright = nullptr;
    QPlainTextEdit* Trademark = nullptr;
    QLabel* FileName = nullptr;
    QLabel* Folder = nullptr;
    QLabel* Size = nullptr;

    QLabel* lHeight = nullptr;
    QLabel* lAscent = nullptr;
    QLabel* lDescent = nullptr;
    QLabel* lLineGap = nullptr;
    QLabel* lExtLeading = nullptr;
    QLabel* lIntLeading = nullptr;
    QLabel* lAvgCharWidth = nullptr;
    QLabel* lMaxCharWidth = nullptr;

private:
    void CreateGeneralPage();
    void CreateMetricsPage();
    void FillMetrics(const TFontInfo& font);
    void FillTitle(const TFontInfo& font);
    void FillFile(const TFontInfo& font);

    TRawFontCache& FCache;
    TPlatform FPlatform;
    std::string FTitle;
};
