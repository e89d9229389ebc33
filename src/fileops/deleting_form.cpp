#include "fileops/deleting_form.h"

TfDeleting* fDeleting = nullptr;

TfDeleting::TfDeleting(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fDeleting"));
    setWindowTitle(QStringLiteral("Deleting..."));
    setFixedSize(376, 130);
}
