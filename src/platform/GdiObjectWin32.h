// RAII owners for GDI objects and for a palette selected into a device context.
#pragma once

#include <windows.h>

namespace vesk {

// Owns one GDI object (pen, brush, font, bitmap, palette) and deletes it. The object must not be
// selected into a device context when the owner ends.
template <typename T>
class GdiObject {
public:
    explicit GdiObject(T handle = nullptr) : handle_(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(other.Release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    explicit operator bool() const { return handle_ != nullptr; }
    T get() const { return handle_; }
    T Release() {
        T h = handle_;
        handle_ = nullptr;
        return h;
    }
    void Reset(T handle = nullptr) {
        if (handle_ != nullptr) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    T handle_;
};

// Selects a palette into a device context as the foreground palette and realises it; puts the
// previous palette back (as a background palette) when it ends. A null palette selects nothing.
class PaletteSelection {
public:
    PaletteSelection(HDC dc, HPALETTE palette) : dc_(dc) {
        if (palette == nullptr) return;
        previous_ = SelectPalette(dc_, palette, FALSE);
        RealizePalette(dc_);
    }
    ~PaletteSelection() {
        if (previous_ != nullptr) SelectPalette(dc_, previous_, TRUE);
    }
    PaletteSelection(const PaletteSelection&) = delete;
    PaletteSelection& operator=(const PaletteSelection&) = delete;

private:
    HDC dc_;
    HPALETTE previous_ = nullptr;
};

}  // namespace vesk
