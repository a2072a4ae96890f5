#include "model/assists.h"

#include "platform/cp932.h"

#include <string>

namespace kelvaro {

void GetPauseNum(Workspace& ws) {
    const std::size_t bytes = Cp932ByteLength(ws.form.PauseChars);
    if (bytes == 0) {
        return;
    }
    ws.form.PauseCount = std::to_string(static_cast<std::size_t>(PauseWidthBytes) / bytes);
}

} // namespace kelvaro
