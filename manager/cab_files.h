#pragma once
// The CAB files that this run's downloads and installs use in the cabs folder. Each download
// gets a file of its own: two applications whose install text names the same file, or one
// application updated again while its first download runs, would otherwise write one file at
// once, and the first install's clean-up would delete the file that the second still writes.
//
// A download writes "<name>.part" and renames it to <name> once it is complete, so a file under
// a CAB's own name is always whole. A name stays taken from the download's start until its
// install has disposed of the CAB (or the download failed). Names compare without case, as the
// device's file names do. Used under appLock.

#include <map>
#include <optional>
#include <set>
#include <string>

namespace zentri {

class CabFiles {
  public:
    // What a name is taken for.
    struct Use {
        std::u16string sysid;
        bool update = false;  // an update of an installed application, not a first install
    };

    // A device path in `folder` for a new download of `fileName`: the name itself when this
    // run uses neither it nor its ".part", else the name with " (2)", " (3)", ... before its
    // extension.
    std::u16string Reserve(const std::u16string& folder, const std::u16string& fileName,
                           const Use& use);
    // Gives a reserved path free again; what it was taken for (none when it was not taken).
    std::optional<Use> Release(const std::u16string& path);
    // A download or install of an update of this application is under way.
    bool UpdateUnderWay(const std::u16string& sysid) const;
    void Clear();

    // The file a download writes until it is complete.
    static std::u16string PartPath(const std::u16string& path) { return path + u".part"; }

  private:
    bool Taken(const std::u16string& path) const;

    std::map<std::string, Use> reserved_;  // by folded path
    std::set<std::string> names_;          // folded paths and their ".part" files
};

}  // namespace zentri
