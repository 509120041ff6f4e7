#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "compose/PageComposer.h"

class QPdfWriter;

namespace velmora {

// What `velmora-cli print` with several files prints: one book of all of them.
struct BookJob {
    std::vector<std::string> files;
    int game = 1;
    std::optional<int> move;  // kind 201's move, in every record
    PrintSettings settings;
    std::string output;  // the PDF
    // Sets up the writer's page as the single print does.
    std::function<void(QPdfWriter&)> setUpPage;
};

// Reads every file, then writes the book: a contents page naming each file with its players
// and first page, then each record's pages as the single print draws them; "3/10 a.sgf" on
// err as each record's pages are drawn → the exit status of RunCli (nothing is written when a
// file cannot be read).
int RunBook(const BookJob& job, std::ostream& err);

}  // namespace velmora
