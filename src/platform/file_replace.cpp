// Writing a whole file: what every system does the same around its own way of
// replacing a file's content (platform/<system>/file_replace.cpp).

#include "platform/file_io.h"
#include "platform/file_replace_internal.h"
#include "platform/paths.h"
#include "platform/private_folder.h"

#include <utility>

namespace kelvaro {

namespace {

WriteFaultHook& FaultHook() {
    static WriteFaultHook hook;
    return hook;
}

} // namespace

void fileio::RunFaultHook(std::string_view step) {
    // A copy, so a hook that replaces itself does not pull the function from under us.
    WriteFaultHook hook = FaultHook();
    if (hook) {
        hook(step);
    }
}

void fileio::SayUnrestoredWrite(RuntimeError& error, const std::string& path,
                                const std::string& kept) {
    error.SetPathIfMissing(path);
    error.SetCauseIfMissing("書き込みに失敗しました");
    error.AppendToCause(kept.empty() ? "。元の内容に戻せず、新しい内容も保存できませんでした"
                                     : "。元の内容に戻せなかったため、新しい内容を " + kept +
                                           " に保存しました");
}

void WriteFileReplacing(const std::string& path, std::string_view bytes) {
    fileio::CheckFileName(path);
    try {
        fileio::ReplaceContents(fileio::FollowLinks(path), bytes);
    } catch (RuntimeError& error) {
        // The fault hook's failures know no file.
        error.SetPathIfMissing(path);
        throw;
    }
}

void WriteOwnFile(const std::string& folder, const std::string& name, std::string_view bytes) {
    const std::string path = JoinPath(folder, name);
    fileio::CheckFileName(path);
    try {
        MakePrivateFolder(folder);
        // No link is followed: in a private folder only the user could have
        // made one, and the system's own replacing refuses to follow it all the same.
        fileio::ReplaceContents(path, bytes);
    } catch (RuntimeError& error) {
        error.SetPathIfMissing(path);
        throw;
    }
}

void SetWriteFaultHook(WriteFaultHook hook) {
    FaultHook() = std::move(hook);
}

} // namespace kelvaro
