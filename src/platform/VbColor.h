#pragma once
// Colours as the window designs give them: 0x00BBGGRR, or 0x800000nn for a
// system colour (5 = window background, 8 = window text).

#include <QColor>
#include <cstdint>

namespace kvlink {

constexpr uint32_t kDarkRed = 0x000000C0;
constexpr uint32_t kDarkBlue = 0x00800000;
constexpr uint32_t kSystemWindowBackground = 0x80000005;
constexpr uint32_t kSystemWindowText = 0x80000008;

QColor vbColor(uint32_t value);

}  // namespace kvlink
