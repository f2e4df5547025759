#pragma once

#include <QColor>
#include <QtGlobal>

// Colours as the stored settings hold them: 0x00BBGGRR for an RGB colour, or
// 0x80000000 plus a system-colour index.
namespace OleColor {

constexpr quint32 WindowBackground = 0x80000005u;
constexpr quint32 WindowText = 0x80000008u;
constexpr quint32 ButtonFace = 0x8000000Fu;
constexpr quint32 ButtonShadow = 0x80000010u;
constexpr quint32 ButtonText = 0x80000012u;
constexpr quint32 Highlight3D = 0x80000014u;

QColor toColor(quint32 ole);
quint32 fromColor(const QColor &color);

} // namespace OleColor
