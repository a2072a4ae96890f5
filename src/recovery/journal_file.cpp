#include "recovery/journal_file.h"

#include "files/form_file.h"
#include "model/defaults.h"
#include "model/item_order.h"
#include "platform/error.h"

#include <charconv>
#include <cstddef>

namespace kelvaro {
namespace {

constexpr std::string_view FirstLine = "Kelvaro recovery journal 1\n";

// "name value\n" for numbers; "name length\n" and the bytes and "\n" for texts,
// so that a path may hold any byte.
void AppendNumber(std::string& out, std::string_view name, std::int64_t value) {
    out.append(name).append(" ").append(std::to_string(value)).append("\n");
}

void AppendText(std::string& out, std::string_view name, std::string_view text) {
    AppendNumber(out, name, static_cast<std::int64_t>(text.size()));
    out.append(text).append("\n");
}

class Reader {
public:
    explicit Reader(std::string_view text) : rest_(text) {}

    void Expect(std::string_view literal) {
        if (rest_.substr(0, literal.size()) != literal) {
            throw RuntimeError(ErrorNo::InvalidProperty, "not a recovery journal");
        }
        rest_.remove_prefix(literal.size());
    }

    std::int64_t Number(std::string_view name) {
        Expect(name);
        Expect(" ");
        const std::size_t end = rest_.find('\n');
        if (end == std::string_view::npos) {
            throw RuntimeError(ErrorNo::InputPastEnd, "the recovery journal ends early");
        }
        std::int64_t value = 0;
        const auto [ptr, ec] = std::from_chars(rest_.data(), rest_.data() + end, value);
        if (ec != std::errc{} || ptr != rest_.data() + end) {
            throw RuntimeError(ErrorNo::InvalidProperty, "a bad number in the recovery journal");
        }
        rest_.remove_prefix(end + 1);
        return value;
    }

    std::string_view Text(std::string_view name) {
        const std::int64_t length = Number(name);
        if (length < 0 || static_cast<std::uint64_t>(length) + 1 > rest_.size()) {
            throw RuntimeError(ErrorNo::InputPastEnd, "the recovery journal ends early");
        }
        const auto size = static_cast<std::size_t>(length);
        const std::string_view text = rest_.substr(0, size);
        rest_.remove_prefix(size);
        Expect("\n");
        return text;
    }

    bool Next(std::string_view name) const {
        return rest_.substr(0, name.size() + 1) == std::string(name) + " ";
    }

    bool AtEnd() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

} // namespace

std::string JournalText(const JournalState& state) {
    const std::string form = FormFileText(state.form);
    std::string out;
    out.reserve(form.size() + state.FormFilePath.size() + 256);
    out.append(FirstLine);
    AppendNumber(out, "saved", state.SavedAt);
    AppendNumber(out, "item", state.CurrentLongItem);
    AppendText(out, "path", state.FormFilePath);
    AppendText(out, "file", state.FormFileTitle);
    AppendText(out, "title", state.WindowTitle);
    if (const auto& stamp = state.FormFileStamp) {
        AppendNumber(out, "device", static_cast<std::int64_t>(stamp->Device));
        AppendNumber(out, "inode", static_cast<std::int64_t>(stamp->Inode));
        AppendNumber(out, "size", stamp->Size);
        AppendNumber(out, "modified", stamp->ModifiedSeconds);
        AppendNumber(out, "nanoseconds", stamp->ModifiedNanoseconds);
    }
    AppendText(out, "form", form);
    return out;
}

ReadJournal ReadJournalText(std::string_view text, const Workspace& startFrom) {
    Reader in(text);
    ReadJournal read;
    in.Expect(FirstLine);
    read.State.SavedAt = in.Number("saved");
    const std::int64_t item = in.Number("item");
    if (item < 0 || item >= static_cast<std::int64_t>(LongTextCount)) {
        throw RuntimeError(ErrorNo::InvalidProperty,
                           "a bad long-text item in the recovery journal");
    }
    read.State.CurrentLongItem = static_cast<int>(item);
    read.State.FormFilePath = in.Text("path");
    read.State.FormFileTitle = in.Text("file");
    read.State.WindowTitle = in.Text("title");
    // A form without a file, or a journal of an earlier version, has no stamp.
    if (in.Next("device")) {
        FileStamp stamp;
        stamp.Device = static_cast<std::uint64_t>(in.Number("device"));
        stamp.Inode = static_cast<std::uint64_t>(in.Number("inode"));
        stamp.Size = in.Number("size");
        stamp.ModifiedSeconds = in.Number("modified");
        stamp.ModifiedNanoseconds = in.Number("nanoseconds");
        read.State.FormFileStamp = stamp;
    }
    const std::string_view form = in.Text("form");
    if (!in.AtEnd()) {
        throw RuntimeError(ErrorNo::InvalidProperty, "the recovery journal goes on after its end");
    }
    // What a new form holds underneath, as an open reads into, so that the
    // window's own state (the emphasis option) carries over.
    read.Restored = startFrom;
    DefaultTopicsLine(read.Restored);
    BuildDefaultOrder(read.Restored);
    DefaultTopicsHTML(read.Restored);
    DefaultTopicsOther(read.Restored);
    ReadFormFileText(read.Restored, form);
    read.Restored.CurrentLongItem = read.State.CurrentLongItem;
    read.Restored.EditorText =
        read.Restored.form.LongTexts[static_cast<std::size_t>(read.State.CurrentLongItem)];
    return read;
}

} // namespace kelvaro
