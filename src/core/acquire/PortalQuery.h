#pragma once
#include <string>
#include <string_view>

// Object paths of the portal's two pages, relative to the server root (no leading "/").
std::string CompanyListQuery(int cityId);
std::string ShopPageQuery(int companyId);

// The account parameters appended to either query. Both values are percent-encoded
// byte by byte, so an "&", "=", "#", space or non-ASCII byte in an ID or password
// reaches the portal as typed instead of splitting the query.
std::string AccountSuffix(std::string_view portalId, std::string_view portalPassword);
