#pragma once
// The three pages on the maker's web server that the editor opens in the browser.

#include <QString>
#include <string_view>

/// Base address of the maker's web server: set when the program is built,
/// overridden at run time by the environment variable KORVALO_SERVER.
QString ServerAddress();

/// The level-sharing page for a level code; the code is hex digits and needs no escaping.
QString SharingPageAddress(std::string_view code);

/// The editor's home page.
QString HomePageAddress();

/// The maker's site.
QString MakerSiteAddress();
