// What frame_probe.exe and its test agree on.
#pragma once

inline constexpr wchar_t kProbeAppName[] = L"Frame Probe";
inline constexpr wchar_t kProbeWindowCaption[] = L"Frame Probe Window";
inline constexpr wchar_t kProbeFamilyFailure[] = L"The probe failed on purpose";
inline constexpr wchar_t kProbeWindowFailure[] = L"The probe's window failed on purpose";
inline constexpr wchar_t kProbeAppFailureText[] = L"The probe met something it did not expect";

// Exit codes of the apartment mode.
inline constexpr int kApartmentReport = 0x100;  // + the APTTYPE
inline constexpr int kPictureNotDecoded = 0x200;
inline constexpr int kNoApartment = 0x201;
