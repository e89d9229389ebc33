#pragma once

#include "platform/document_opener.h"

// Opens documents and addresses with the desktop's associated programs.
class TDesktopOpener : public IDocumentOpener {
public:
    bool Open(const std::string& target) override;
};
