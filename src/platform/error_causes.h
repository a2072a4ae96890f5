#pragma once

// The one table of what a failure's cause is called: from the system's errno to
// the program's error number and the cause the user reads, and the cause a
// failure is told with when only its number is known. Every message that names a
// cause takes its words from here, so one failure reads the same wherever it is
// reported.

#include <cstdint>
#include <string>

namespace kelvaro {

namespace Cause {
inline constexpr const char* FileNotFound = "ファイルが見つかりません";
inline constexpr const char* FolderMissing = "フォルダが見つかりません";
inline constexpr const char* NotAFolderOnTheWay = "途中のフォルダがフォルダではありません";
inline constexpr const char* CannotRead = "ファイルを読む権限がありません";
inline constexpr const char* CannotWrite = "ファイルに書き込む権限がありません";
inline constexpr const char* CannotWriteFolder = "フォルダに書き込む権限がありません";
inline constexpr const char* CannotListFolder = "フォルダを読む権限がありません";
inline constexpr const char* ReadOnlyDisk = "読み取り専用のディスクです";
inline constexpr const char* InUse = "ほかのプログラムが使用中です";
inline constexpr const char* DiskFull = "ディスクの空き容量が足りません";
inline constexpr const char* QuotaExceeded = "ディスクの使用量の上限を超えます";
inline constexpr const char* NotAFile = "ファイルではなくフォルダです";
inline constexpr const char* NotARegularFile = "通常のファイルではありません";
inline constexpr const char* DiskIo = "ディスクの読み書きに失敗しました";
inline constexpr const char* DiskWrite = "ディスクに書き込めませんでした";
inline constexpr const char* NameTooLong = "ファイル名が長すぎます";
inline constexpr const char* BadFileName = "ファイル名が空か、使えない文字を含んでいます";
inline constexpr const char* OutOfMemory = "メモリが足りません";
inline constexpr const char* LinkLoop = "シンボリックリンクが循環しているか、多すぎます";
inline constexpr const char* TooManyOpen = "開いているファイルが多すぎます";
inline constexpr const char* ForeignLinkInSharedFolder =
    "共有フォルダにあるほかのユーザーのシンボリックリンクなので、たどりません";
inline constexpr const char* LinkNotFollowed = "シンボリックリンクなので、たどりません";
inline constexpr const char* ReadOnlyFile = "読み取り専用のファイルです";
inline constexpr const char* DriveNotReady = "ドライブの準備ができていません";
inline constexpr const char* NetworkPathMissing = "ネットワーク上の場所が見つかりません";
inline constexpr const char* AlreadyExists = "同じ名前のファイルがすでにあります";
} // namespace Cause

// What the program was doing with the file, so that a refusal can say whose
// permission was missing.
enum class FileAccess {
    Read,   // reading a file
    Write,  // writing an existing file
    Create, // making a file in a folder: the target itself or a temporary file
    List,   // reading a folder
};

// Maps an errno value to the program's error number.
int ErrorNumberFromErrno(int error);

// The cause of an errno value, in the words of the table above; an errno the
// table does not know is told with the system's own text.
std::string FileErrorCause(int error, FileAccess access = FileAccess::Write);

// The same two answers for a Windows error code (GetLastError()). The table is
// plain numbers, so it is the same on every build; a code it does not know is
// PathFileAccess, told with its number.
int ErrorNumberFromWindowsError(std::uint32_t code);
std::string WindowsErrorCause(std::uint32_t code, FileAccess access = FileAccess::Write);
bool IsKnownWindowsError(std::uint32_t code);

// The cause a failure is told with when the code that failed gave none.
std::string CauseOfErrorNumber(int number);

} // namespace kelvaro
