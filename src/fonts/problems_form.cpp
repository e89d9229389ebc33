#include "fonts/problems_form.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "controls/xp_controls.h"
#include "platform/byte_path.h"

namespace {

enum { FileColumn = 0, ReasonColumn = 1 };

}  // namespace

TfProblems::TfProblems(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fProblems"));
    setWindowTitle(QStringLiteral("Font problems"));
    setModal(false);
    resize(620, 340);

    auto* column = new QVBoxLayout(this);
    FSummary = new QLabel(this);
    FSummary->setObjectName(QStringLiteral("Summary"));
    FSummary->setTextFormat(Qt::PlainText);
    column->addWidget(FSummary);

    FList = new QTreeWidget(this);
    FList->setObjectName(QStringLiteral("ProblemList"));
    FList->setColumnCount(2);
    FList->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Reason")});
    FList->setRootIsDecorated(false);
    FList->setUniformRowHeights(true);
    FList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FList->setSortingEnabled(true);
    FList->header()->setSectionResizeMode(FileColumn, QHeaderView::Stretch);
    FList->header()->setSectionResizeMode(ReasonColumn, QHeaderView::ResizeToContents);
    FList->header()->setStretchLastSection(false);
    column->addWidget(FList, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* copy = new TXPButton(QStringLiteral("&Copy"), this);
    copy->setObjectName(QStringLiteral("btCopy"));
    connect(copy, &QPushButton::clicked, this, [this] { Copy(); });
    buttons->addWidget(copy);
    auto* close = new TXPButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("btClose"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    buttons->addWidget(close);
    column->addLayout(buttons);
}

QString TfProblems::FileText(const TFontProblem& problem)
{
    QString text = DisplayPath(problem.Path);
    if (problem.FaceIndex > 0)
        text += QStringLiteral(" (face %1)").arg(problem.FaceIndex);
    return text;
}

void TfProblems::SetProblems(const std::vector<TFontProblem>& problems)
{
    FList->setSortingEnabled(false);
    FList->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(problems.size()));
    for (const TFontProblem& problem : problems) {
        auto* item = new QTreeWidgetItem;
        item->setText(FileColumn, FileText(problem));
        item->setText(ReasonColumn, QString::fromStdString(problem.Reason));
        items.append(item);
    }
    FList->addTopLevelItems(items);
    FList->setSortingEnabled(true);
    FList->sortItems(ReasonColumn, Qt::AscendingOrder);
    FSummary->setText(QStringLiteral("Font files that could not be read in full: %1")
                          .arg(problems.size()));
}

int TfProblems::RowCount() const
{
    return FList->topLevelItemCount();
}

QString TfProblems::CopyText() const
{
    const bool onlySelected = !FList->selectedItems().isEmpty();
    QString text;
    for (int i = 0; i < FList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = FList->topLevelItem(i);
        if (onlySelected && !item->isSelected())
            continue;
        text += item->text(FileColumn) + QLatin1Char('\t') + item->text(ReasonColumn) +
                QLatin1Char('\n');
    }
    return text;
}

void TfProblems::Copy() const
{
    QGuiApplication::clipboard()->setText(CopyText());
}

void TfProblems::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        Copy();
        return;
    }
    QDialog::keyPressEvent(event);
}
