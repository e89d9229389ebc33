#pragma once

#include <functional>
#include <string>
#include <vector>

class QPainter;
class QPrinter;

// Prints `pages` on `printer`, one sheet each, `paintPage` drawing page p. Returns an empty
// string on success, else one message naming the printer or file and the reason.
//
// Every step is checked (QPainter::begin, QPrinter::newPage, QPainter::end and the printer's
// state afterwards). A PDF is written to a temporary file in the target's folder and renamed
// over the target only when it is complete, so a failed job leaves no half file and an
// older file as it was. An empty page list starts no job: a job always yields a sheet.
std::string PrintPages(QPrinter& printer, const std::vector<int>& pages,
                       const std::function<void(QPainter&, int page)>& paintPage);
