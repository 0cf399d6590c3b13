#include "app/links.hpp"

#include "app/link_config.hpp"

namespace quillon::app {

Links ConfiguredLinks() { return Links{QUILLON_HOME_PAGE_URL, QUILLON_DONATION_URL}; }

}  // namespace quillon::app
