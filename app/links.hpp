// The targets of the link commands: two pages of the maker's site, chosen when the program is
// built, and the help page, opened by its relative name.
#pragma once

#include <string>

namespace quillon::app {

struct Links {
    std::string homePage;
    std::string donationPicture;
    std::string helpPage = "help2.htm";
};

Links ConfiguredLinks();

}  // namespace quillon::app
