// The class report: `jogo --report FILE...` sums up each student's history as the
// results screen does and prints one CSV table for a teacher's spreadsheet. It
// opens no window and needs no display.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

// Writes the header and then one line for each file, in the order given; "-"
// reads `in`. A file that cannot be read is named in one line on `err` and left
// out. Returns 0 when every file was read and the table written, 1 otherwise.
int writeReport(const std::vector<std::string>& files, std::istream& in, std::ostream& out, std::ostream& err);
