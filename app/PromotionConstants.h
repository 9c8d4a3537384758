#pragma once
// Where "Make Money" sends the user: the maker's promotion site. The
// affiliate id of the deployment is appended as it stands.

namespace rasp {

// An address of our own under a name that never resolves on the internet.
inline constexpr const char* PromotionBaseURL = "http://partners.tellivo-rasp.example/";

} // namespace rasp
