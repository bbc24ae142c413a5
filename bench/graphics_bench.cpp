// The software graphics paths a frame uses, each against one plain 800 x 600 copy:
// keyed full-screen blit, 128 keyed icon blits, a translucent full-screen fill and 40 lines
// of bordered text.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/graphics/gapi.h"

namespace {

constexpr DWORD kKey = 0xFF00FF;

// A picture with some variety: stripes of colour and, every few pixels, the key.
void Paint(CGapiSurface& s, DWORD w, DWORD h, bool withKey) {
  s.CreateSurface(GDSURFACE_SYSTEMMEMORY, w, h);
  for (LONG y = 0; y < static_cast<LONG>(h); y += 4) {
    RECT band{0, y, static_cast<LONG>(w), y + 4};
    s.FillRect(&band, 0x102030u * static_cast<DWORD>(y % 7 + 1), 0, nullptr);
  }
  if (withKey) {
    for (LONG x = 0; x < static_cast<LONG>(w); x += 5) {
      RECT column{x, 0, x + 2, static_cast<LONG>(h)};
      s.FillRect(&column, kKey, 0, nullptr);
    }
    s.SetColorKey(kKey);
  }
}

void PlainCopy800x600(benchmark::State& state) {
  CGapiSurface back, map;
  Paint(back, 800, 600, false);
  Paint(map, 800, 600, false);
  for (auto _ : state) {
    back.BltFast(0, 0, &map, nullptr, 0, nullptr);
    benchmark::DoNotOptimize(back.GetPixel(400, 300));
  }
}
BENCHMARK(PlainCopy800x600);

void KeyedBlit800x600(benchmark::State& state) {
  CGapiSurface back, image;
  Paint(back, 800, 600, false);
  Paint(image, 800, 600, true);
  for (auto _ : state) {
    back.Blt(nullptr, &image, nullptr, GDBLT_KEYSRC, nullptr);
    benchmark::DoNotOptimize(back.GetPixel(400, 300));
  }
}
BENCHMARK(KeyedBlit800x600);

void KeyedIcons128(benchmark::State& state) {
  CGapiSurface back;
  Paint(back, 800, 600, false);
  std::vector<CGapiSurface> icons(16);
  for (CGapiSurface& icon : icons) Paint(icon, 35, 26, true);
  for (auto _ : state) {
    for (int i = 0; i < 128; ++i) {
      back.BltFast((i * 97) % 765, (i * 61) % 574,
                   &icons[static_cast<std::size_t>(i) % icons.size()], nullptr, GDBLTFAST_KEYSRC,
                   nullptr);
    }
    benchmark::DoNotOptimize(back.GetPixel(400, 300));
  }
}
BENCHMARK(KeyedIcons128);

void KeyedIcons128AtHalfOpacity(benchmark::State& state) {
  CGapiSurface back;
  Paint(back, 800, 600, false);
  std::vector<CGapiSurface> icons(16);
  for (CGapiSurface& icon : icons) Paint(icon, 35, 26, true);
  GDBLTFASTFX fx{};
  fx.dwOpacity = 128;
  for (auto _ : state) {
    for (int i = 0; i < 128; ++i) {
      back.BltFast((i * 97) % 765, (i * 61) % 574,
                   &icons[static_cast<std::size_t>(i) % icons.size()], nullptr,
                   GDBLTFAST_KEYSRC | GDBLTFAST_OPACITY, &fx);
    }
    benchmark::DoNotOptimize(back.GetPixel(400, 300));
  }
}
BENCHMARK(KeyedIcons128AtHalfOpacity);

void TranslucentFill800x600(benchmark::State& state) {
  CGapiSurface back;
  Paint(back, 800, 600, false);
  GDFILLRECTFX fx{};
  fx.dwOpacity = 128;
  for (auto _ : state) {
    back.FillRect(nullptr, 0x202020, GDFILLRECT_OPACITY, &fx);
    benchmark::DoNotOptimize(back.GetPixel(400, 300));
  }
}
BENCHMARK(TranslucentFill800x600);

std::vector<std::string> Lines(int salt) {
  std::vector<std::string> lines;
  for (int i = 0; i < 40; ++i) {
    char text[128];
    std::snprintf(text, sizeof text, "Step %d of the startup: loading region %d (%d.%02d)", i,
                  i * 7 + salt, salt, i);
    lines.emplace_back(text);
  }
  return lines;
}

// The same 40 lines every frame, as the progress screen and the labels are drawn.
void BorderedText40Lines(benchmark::State& state) {
  CGapiSurface back;
  Paint(back, 800, 600, false);
  CGapiBitmapFont font;
  const std::vector<std::string> lines = Lines(0);
  for (auto _ : state) {
    for (int i = 0; i < 40; ++i) {
      back.DrawTextA(400, 5 + 10 * i, lines[static_cast<std::size_t>(i)].c_str(), &font,
                     GDDRAWTEXT_CENTER, nullptr, 0, nullptr);
    }
    benchmark::DoNotOptimize(back.GetPixel(400, 300));
  }
}
BENCHMARK(BorderedText40Lines);

// 40 lines never drawn before: the worst case, every line rendered afresh.
void BorderedText40NewLines(benchmark::State& state) {
  CGapiSurface back;
  Paint(back, 800, 600, false);
  CGapiBitmapFont font;
  int salt = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::vector<std::string> lines = Lines(++salt);
    state.ResumeTiming();
    for (int i = 0; i < 40; ++i) {
      back.DrawTextA(5, 5 + 10 * i, lines[static_cast<std::size_t>(i)].c_str(), &font,
                     GDDRAWTEXT_LEFT, nullptr, 0, nullptr);
    }
    benchmark::DoNotOptimize(back.GetPixel(400, 300));
  }
}
BENCHMARK(BorderedText40NewLines);

}  // namespace
