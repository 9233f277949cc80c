#pragma once

// The message ids of the Print Service protocol. "In" ids are registered with the
// dispatcher; "Out" ids are built by the client.
namespace Brindlecore::Core::MessageIds {

inline constexpr int JobReceivedMsg = 4;          // In
inline constexpr int PrintJobReq = 5;             // Out
inline constexpr int PrintJobConfirmationMsg = 6; // In
inline constexpr int CancelJobReq = 7;            // Out
inline constexpr int JobDeletedMsg = 51;          // In
inline constexpr int GuestJobReq = 52;            // In
inline constexpr int GuestJobMsg = 53;            // Out
inline constexpr int AuthenticateReq = 54;        // In
inline constexpr int AuthenticateMsg = 55;        // Out
inline constexpr int AuthenticateResultMsg = 56;  // In
inline constexpr int SettingsMsg = 58;            // In
inline constexpr int SettingsResponseMsg = 59;    // Out
inline constexpr int ShowSpoolingDialogMsg = 60;  // In
inline constexpr int AutoReleaseMsg = 62;         // In
inline constexpr int PrintClientUpdateMsg = 64;   // In
inline constexpr int OpcAckMsg = 80;              // Out
inline constexpr int EndOfSessionMsg = 86;        // Out

} // namespace Brindlecore::Core::MessageIds
