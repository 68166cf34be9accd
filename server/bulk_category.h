#pragma once
// A category of generated applications, for trying the client with long lists: a category of
// its own at the end of the top level, holding as many made-up applications as asked for. They
// borrow the seed applications' icons, carry varied prices, ratings, counters and dates so that
// every sort and filter has something to do, need nothing of the device, and have no package.

#include <cstdint>

#include "server/database.h"

namespace zentri::server {

constexpr int64_t kBulkCategoryId = 9000;
constexpr const char* kBulkCategoryName = "Bulk listing";
// Generated applications have the ids kBulkFirstAppId + 1 ... kBulkFirstAppId + count.
constexpr int64_t kBulkFirstAppId = 1000000;
constexpr int64_t kMaxBulkApps = 200000;

// Makes the category hold exactly `count` generated applications, in one transaction: it is
// created, refilled or (for 0) removed with everything that refers to its applications (ratings,
// reviews). Nothing is done when it already holds that many. Throws DatabaseError on failure
// (nothing is changed then) and std::invalid_argument for a count outside 0..kMaxBulkApps.
void SetBulkCategory(Database& db, int64_t count);

}  // namespace zentri::server
