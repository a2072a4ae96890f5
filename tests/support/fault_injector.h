#pragma once

// Makes one step of every file write ("open", "lock", "write", "fsync",
// "rename", ...) fail until the object goes, through the platform's fault hook.

#include "platform/error.h"
#include "platform/file_io.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace kelvaro::test {

class FaultAt {
public:
    // `fail` runs when a write reaches the step, and throws what it likes.
    FaultAt(std::string step, std::function<void()> fail) {
        SetWriteFaultHook([step = std::move(step), fail = std::move(fail)](std::string_view at) {
            if (at == step) {
                fail();
            }
        });
    }
    // The step fails with that error number and no cause of its own.
    FaultAt(std::string step, int number)
        : FaultAt(std::move(step), [number] { throw RuntimeError(number, "injected"); }) {}
    ~FaultAt() { SetWriteFaultHook({}); }
    FaultAt(const FaultAt&) = delete;
    FaultAt& operator=(const FaultAt&) = delete;
};

} // namespace kelvaro::test
