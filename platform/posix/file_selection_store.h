// Remembered selections in a small text file under the user's configuration
// folder, for hosts without a registry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/selection_store.h"
#include "text/ascii_fold.h"

namespace qm {

// One line of a selections file. A value line is the decimal value (at most
// ten digits, below 2^32), a tab, and the name to the end of the line (the
// name may hold further tabs); any other line is kept as it stands.
struct SelectionsLine {
  std::string text;  // the line without its end
  bool crlf = false;  // ended by CR LF rather than LF
  std::optional<std::uint32_t> value;  // set for a value line
  std::string name;                    // the value line's name
};

// Splits a selections file into lines at each LF; a CR before the LF (or
// at the very end) belongs to the line end, not to the text. Never fails.
std::vector<SelectionsLine> ParseSelectionsFile(std::string_view bytes);

// The file again: each line's text and its own line end. A file that ends
// with a line end, or is empty, comes back byte for byte.
std::string FormatSelectionsFile(const std::vector<SelectionsLine>& lines);

// Stores `value` in `lines`: every value line of its name (compared without
// regard to ASCII letter case) takes the value and keeps its spelling and
// line end, unless the value is only_if_absent; a name with no line gets
// one at the end, ended like the last line. Other lines stay as they are.
void MergeIntoSelections(std::vector<SelectionsLine>& lines,
                         const RememberedValue& value);

// The file "<directory>/selections" holds the lines above. Writers take an
// exclusive lock on "<directory>/selections.lock", re-read the file, change
// only the lines of the names they write (adding lines for new names, in the
// ending the file already uses; a value only_if_absent leaves a name's line
// alone) and replace the file by renaming a completed
// "selections.tmp-<pid>" over it, so two commands saving at once lose
// neither's values and a reader never sees a half-written file. A save that
// fails leaves the previous file as it was; a replaced file keeps its
// permission bits.
//
// The folder may be shared with others, so nothing planted there is
// followed: the lock file must be a regular file and not a link, the
// temporary file is always created anew, and `selections` is read only when
// it is a regular file (not a link, FIFO or device) of at most kMaxFileBytes.
// Anything else there is damaged: it reads as nothing remembered, is told
// once to the damage report, and makes every save fail, leaving it in
// place. A save that would make the file larger than the reader takes is
// refused the same way, so the store never writes what it will not read.
// Temporary files of saves that were killed are removed by the next save.
//
// The file is read once, at the first Read, and the store then answers
// from what it read and what it saved since: a command reads its ticks in
// one go, however many entries it lists. Reading never creates anything.
class FileSelectionStore final : public SelectionStore {
 public:
  // A file this large holds some ten thousand names.
  static constexpr std::size_t kMaxFileBytes = 1 << 20;

  // Told why the file cannot be read, in a few words such as "larger than
  // 1 MiB"; the path is file_path().
  using DamageReport = std::function<void(const std::string& why)>;

  explicit FileSelectionStore(std::string directory, DamageReport on_damage = {});

  bool Read(const std::string& name, std::uint32_t* value) const override;
  bool Write(const std::vector<RememberedValue>& values) override;

  const std::string& file_path() const { return file_path_; }

 private:
  // Removes "selections.tmp-<pid>" files that no save is writing: their
  // process is gone, or they are older than any save takes. Called with
  // the lock held.
  void RemoveAbandonedTemporaryFiles() const;
  // Takes the values of `lines` as what the file holds now.
  void Remember(const std::vector<SelectionsLine>& lines) const;

  std::string directory_;
  std::string file_path_;
  DamageReport on_damage_;
  // The file's values by name, the last line of a name winning; empty
  // until the first Read.
  mutable std::optional<std::map<std::string, std::uint32_t, FoldedLess>> values_;
};

}  // namespace qm
