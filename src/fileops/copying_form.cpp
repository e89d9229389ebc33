#include "fileops/copying_form.h"

TfCopying* fCopying = nullptr;

TfCopying::TfCopying(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fCopying"));
    setWindowTitle(QStringLiteral("Copying..."));
    setFixedSize(392, 143);
}
