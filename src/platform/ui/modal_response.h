#pragma once

namespace tallowmere::platform {

// How a modal session ended. The numbers are the platform's: panels answer
// ok or cancel, alerts answer 1000 for their first button, 1001 for the
// second and so on, and a loop ended from outside answers stop or abort.
using ModalResponse = long;

namespace ModalResponses {
inline constexpr ModalResponse cancel = 0;
inline constexpr ModalResponse ok = 1;
inline constexpr ModalResponse stop = -1000;
inline constexpr ModalResponse abort = -1001;
inline constexpr ModalResponse alertFirstButton = 1000;
inline constexpr ModalResponse alertSecondButton = 1001;
inline constexpr ModalResponse alertThirdButton = 1002;
}  // namespace ModalResponses

}  // namespace tallowmere::platform
