#pragma once
// Fills an empty database from the seed catalogue (an XML file kept in the repository and
// copied beside the built assets): categories, applications with their numbers, tags, pictures
// and reviews, and the ready-made accounts.

#include <filesystem>
#include <string>

#include "server/accounts.h"
#include "server/database.h"

namespace zentri::server {

// True when the database already holds a catalogue.
bool IsSeeded(Database& db);

// Loads the seed, its accounts included, in one transaction; on failure nothing is stored and
// `error` says why. A database that is seeded already is left as it is (true).
bool LoadSeed(Database& db, HashCost cost, int64_t now, const std::filesystem::path& file,
              std::string& error);

// "2009-03-14" as seconds since 1970 (UTC), or -1.
int64_t ParseDate(const std::string& text);

}  // namespace zentri::server
