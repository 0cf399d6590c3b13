// The targets of the link commands: two pages of the maker's site, chosen when the program is
// built, and the help page, opened by its relative name.
#pragma once

#include <string>

namespace quillon::app {

// An empty address is not configured, and its menu entry is disabled; a build has addresses
// only when it is given them (QUILLON_HOME_PAGE_URL, QUILLON_DONATION_URL).
struct Links {
    std::string homePage;
    std::string donationPicture;
    std::string helpPage = "help2.htm";
};

// The addresses this build was given; none unless configured.
Links ConfiguredLinks();

}  // namespace quillon::app
