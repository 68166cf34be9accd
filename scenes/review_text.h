#pragma once
// Review texts travel with "--br--" where the writer broke a line: the service keeps them as
// sent and the reviews page turns the marks back into line breaks. Ratings are whole stars on
// the wire and half stars in the star widget.

#include <cstdint>
#include <string>
#include <string_view>

namespace zentri {

// The typed text as sent: every line break ("\r\n", "\n" or a lone "\r") becomes "--br--".
std::u16string ReviewTextForSending(std::u16string_view typed);
// A received text as shown: every "--br--" becomes a line break.
std::u16string ReviewTextForShowing(std::u16string text);

// The whole stars of a star widget's value in half stars (a half star counts nothing).
int32_t WholeStars(int32_t halfStars);

}  // namespace zentri
