// velloria-cli: lists, prints, converts and checks document list files from the command line.
//
//   velloria-cli [--raw] ls FILE          the tree, indented, with number, kind, date and name
//   velloria-cli [--raw] cat FILE PATH    one node's text; PATH is the names from the top joined with "/"
//                                         (a leading "/" forces names), or a 1-based pre-order number
//   velloria-cli [--force] convert IN OUT reads either format, writes the current one; without --force
//                                         it refuses a damaged IN and an OUT that is IN itself
//   velloria-cli check FILE               reads the whole file; exit status 1 when it is damaged
//
// Output is UTF-8 with LF line ends; --raw writes the stored Shift-JIS bytes instead (cat: exactly as
// stored, CR LF included) and takes PATH as Shift-JIS bytes. Messages go to the error stream.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Exit status: 0 success, 1 failure (missing, unreadable or damaged file, no such node), 2 bad arguments.
int RunVelloriaCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
