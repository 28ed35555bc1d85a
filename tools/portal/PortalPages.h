#pragma once
#include <string>

// The portal's own pages, as opposed to the city and shop pages it serves.
namespace portal {

inline constexpr char kHtmlType[] = "text/html; charset=UTF-8";

// What the portal shows instead of a city or shop page to an account it does not
// accept: a login form, with no company link and no shop header in it.
const std::string& LoginPage();

// A short error page for `status`.
std::string StatusPage(int status);

}  // namespace portal
