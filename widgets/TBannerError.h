// Raised by a banner asked to scroll with nothing to show.
#pragma once

#include <stdexcept>

class TBannerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
