#pragma once

// Long work done through Host::RunBusy, with what it returns or throws handed
// back on the caller's thread as if it had been called there.

#include "host/host.h"

#include <exception>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace kelvaro {

template <typename Work>
std::invoke_result_t<Work&> RunBusyWork(Host& host, const std::string& caption, Work&& work) {
    using Result = std::invoke_result_t<Work&>;
    std::optional<Result> result;
    std::exception_ptr failure;
    host.RunBusy(caption, [&] {
        try {
            result.emplace(work());
        } catch (...) {
            failure = std::current_exception();
        }
    });
    if (failure) {
        std::rethrow_exception(failure);
    }
    return std::move(*result);
}

} // namespace kelvaro
