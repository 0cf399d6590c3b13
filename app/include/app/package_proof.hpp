// The proof that an Office file (a workbook, a document) is whole before anyone gets it.
#pragma once

#include <string>

namespace quillon::app {

// What makes the zip no whole package: unreadable, an entry that does not inflate to its size
// and checksum, an XML part cut before its root's end, a part [Content_Types].xml names missing.
// Empty when it is whole.
std::string PackageFault(const std::string& zip);

}  // namespace quillon::app
