#pragma once
// The address of the maker's web server, which hosts the sharing site: the
// editor's pages and publishing, and the game's play records, all go there.

#include <QString>

/// KORVALO_SERVER from the environment when it is set and not blank (a local
/// server, a test server), else the address set when the program was built;
/// without a trailing slash, since the paths bring their own.
QString SiteAddress();
