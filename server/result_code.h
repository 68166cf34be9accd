#pragma once
// Result codes of the catalogue's answers. 0, 202 and 203 mean what the client expects of every
// service; the refusals 101 and up are this service's own, chosen outside every range the client
// uses for its own messages, and each has a text with the same id in the client's
// localization file.

namespace zentri::server {

enum ResultCode : int {
    kOk = 0,
    kNotActivated = 202,
    kSessionInvalid = 203,

    kWrongCredentials = 101,  // sign-in with an unknown login or a wrong password
    kLoginTaken = 102,
    kMailTaken = 103,
    kUnknownAccount = 104,  // no account with this login or mail
    kAlreadyActive = 105,
    kBadLogin = 106,     // characters or length a login may not have
    kBadMail = 107,      // not a mail address
    kBadPassword = 108,  // too short or too long
    kMissingParameter = 109,
    kInvalidValue = 110,  // a parameter whose value cannot be used
    kUnknownRequest = 111,
    kUnknownApp = 112,
    kUnknownCategory = 113,
    kBadRating = 114,  // a rating outside 1 to 5
    kTextTooLong = 115,
    kNoPackage = 116,       // the application has no package to download (yet)
    kServiceFailure = 117,  // storage failed; nothing was changed
};

// Every refusal code above, for the checks that each has its message.
inline constexpr int kRefusalCodes[] = {101, 102, 103, 104, 105, 106, 107, 108, 109,
                                        110, 111, 112, 113, 114, 115, 116, 117};

}  // namespace zentri::server
