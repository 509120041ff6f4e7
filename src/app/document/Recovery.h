#pragma once

#include <optional>
#include <string>

namespace velmora {

// The copy of unsaved work kept aside, so that a crash or a power cut loses at most the last
// minute of it: the extended record text in recovery.sgfx and the record file's name in
// recovery.path, in a folder of the user's state (never beside or over the user's file).
class Recovery {
public:
    // Keeps the copy in folder; "" keeps none (every call then does nothing).
    explicit Recovery(std::string folder = {}) : folder_(std::move(folder)) {}

    // $XDG_STATE_HOME/velmora, or ~/.local/state/velmora without it.
    static std::string DefaultFolder();

    bool Enabled() const { return !folder_.empty(); }
    // Keeps text aside as the unsaved state of the record at recordPath ("" for a new record)
    // → false when it could not be written.
    bool Write(const std::string& text, const std::string& recordPath) const;
    // Forgets the copy (a save or a clean close: nothing is unsaved).
    void Remove() const;

    struct Found {
        std::string copyPath;    // the kept record text, readable as a record file
        std::string recordPath;  // the file it belongs to, "" for a record never saved
    };
    // The copy a run that ended without a clean close left → nullopt when there is none.
    std::optional<Found> Find() const;

private:
    std::string CopyPath() const { return folder_ + "/recovery.sgfx"; }
    std::string NamePath() const { return folder_ + "/recovery.path"; }

    std::string folder_;
};

}  // namespace velmora
