#pragma once

#include <QDialog>

#include <vector>

#include "fonts/font_list.h"

class QLabel;
class QTreeWidget;

// The non-modal window listing the font files a scan could not read, or read only in part:
// one row per problem with the file and the reader's reason. Clicking a column heading
// sorts by it; Copy (or Ctrl+C) puts the selected rows, or all of them when none is
// selected, on the clipboard as lines of "file<TAB>reason".
class TfProblems : public QDialog {
    Q_OBJECT

public:
    explicit TfProblems(QWidget* parent = nullptr);

    // Replaces the rows with `problems`, sorted by reason.
    void SetProblems(const std::vector<TFontProblem>& problems);
    int RowCount() const;
    // The rows as copied: the selected ones, or all when none is selected, in the order
    // shown.
    QString CopyText() const;
    void Copy() const;

    // The file column's text: the path as a person reads it, with the face of a collection.
    static QString FileText(const TFontProblem& problem);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* FSummary;
    QTreeWidget* FList;
};
