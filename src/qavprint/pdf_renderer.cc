#include "qavprint/pdf_renderer.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/cp850.h"
#include "platform/suite_path.h"
#include "qavprint/justification.h"

namespace qav {
namespace {

// The baseline of a line, from the line's top: four fifths down, the same
// for every pitch so that items of different pitches on a line sit on one
// baseline.
constexpr double kBaselinePoints = 0.8 * kLinePoints;
// A glyph taller than the line would touch its neighbours; at 10 cpi the
// font is held just below the line height.
constexpr double kLargestFontPoints = 0.95 * kLinePoints;

struct SurfaceCloser {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextCloser {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};

// Cairo keeps its fonts, and fontconfig its configuration, for the life of
// the process; both are handed back at its end so that a leak checker sees
// only real leaks. Fontconfig is cairo's own dependency, not this program's,
// so its finaliser is looked up rather than linked.
void ReleaseFonts() {
  cairo_debug_reset_static_data();
  using Finaliser = void (*)();
  if (void* fini = dlsym(RTLD_DEFAULT, "FcFini")) reinterpret_cast<Finaliser>(fini)();
}

void ReleaseFontsAtExit() {
  static const bool registered = std::atexit(ReleaseFonts) == 0;
  (void)registered;
}

double CellPoints(int pitch) { return kPointsPerInch / (pitch > 0 ? pitch : kPitch10); }

// The font size at which one character of the monospace font advances one
// cell of the pitch.
double FontSizeFor(cairo_t* cr, int pitch) {
  cairo_set_font_size(cr, 100.0);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, "0", &extents);
  double size = extents.x_advance > 0 ? 100.0 * CellPoints(pitch) / extents.x_advance : 10.0;
  return std::min(size, kLargestFontPoints);
}

double PageWidthPoints(const PrintedPage& page) {
  double right = kPaperWidthPoints - kLeftMarginPoints;
  for (const PrintedLine& line : page.lines) {
    for (const PlacedItem& item : line.items) {
      const double end = kLeftMarginPoints +
                         (item.column - 1 + static_cast<double>(item.text.size())) *
                             CellPoints(item.pitch);
      right = std::max(right, end);
    }
  }
  return right + kLeftMarginPoints;
}

double PageHeightPoints(int lines) { return lines * kLinePoints + 2 * kTopMarginPoints; }

// Draws the run of characters (code page 850, no blanks) with its first
// character at x, each character at its own cell.
void DrawRun(cairo_t* cr, std::string_view run, double x, double baseline, double cell) {
  const std::string utf8 = Cp850ToUtf8(run);
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  cairo_scaled_font_t* font = cairo_get_scaled_font(cr);
  const cairo_status_t status = cairo_scaled_font_text_to_glyphs(
      font, x, baseline, utf8.data(), static_cast<int>(utf8.size()), &glyphs, &count, nullptr,
      nullptr, nullptr);
  if (status == CAIRO_STATUS_SUCCESS && count == static_cast<int>(run.size())) {
    for (int i = 0; i < count; ++i) {
      glyphs[i].x = x + i * cell;
      glyphs[i].y = baseline;
    }
    cairo_show_glyphs(cr, glyphs, count);
  } else {
    // A font that maps characters to glyphs other than one to one: set
    // character by character, still one per cell.
    for (size_t i = 0; i < run.size(); ++i) {
      cairo_move_to(cr, x + static_cast<double>(i) * cell, baseline);
      cairo_show_text(cr, Cp850ToUtf8(run.substr(i, 1)).c_str());
    }
  }
  cairo_glyph_free(glyphs);
}

void DrawItem(cairo_t* cr, const PlacedItem& item, double top, const double* font_sizes) {
  const std::string text = AlignText(item.text, item.justification);
  const double cell = CellPoints(item.pitch);
  const double x0 = kLeftMarginPoints + (item.column - 1) * cell;
  const double baseline = top + kBaselinePoints;
  cairo_set_font_size(cr, font_sizes[item.pitch == kPitch17 ? 2 : item.pitch == kPitch12 ? 1 : 0]);
  for (size_t i = 0; i < text.size();) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < text.size() && text[i] != ' ') ++i;
    DrawRun(cr, std::string_view(text).substr(start, i - start),
            x0 + static_cast<double>(start) * cell, baseline, cell);
  }
}

}  // namespace

PrintStatus WritePdfFile(const PrintDocument& document, std::string_view path) {
  return WritePdfHostFile(document, HostPath(path), path);
}

PrintStatus WritePdfHostFile(const PrintDocument& document, const std::string& host,
                             std::string_view path) {
  ReleaseFontsAtExit();
  std::unique_ptr<cairo_surface_t, SurfaceCloser> surface(cairo_pdf_surface_create(
      host.c_str(), kPaperWidthPoints, PageHeightPoints(kDefaultPageLength)));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
    return PrintStatus::Error(PrintStatus::kIoError,
                              "cannot create the PDF file " + std::string(path));
  }
  cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "QAVPRINT");
  std::unique_ptr<cairo_t, ContextCloser> context(cairo_create(surface.get()));
  cairo_t* cr = context.get();
  cairo_select_font_face(cr, "monospace", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  const double font_sizes[3] = {FontSizeFor(cr, kPitch10), FontSizeFor(cr, kPitch12),
                                FontSizeFor(cr, kPitch17)};

  const PrintedPage blank;
  const size_t pages = std::max<size_t>(document.pages.size(), 1);
  for (size_t p = 0; p < pages; ++p) {
    const PrintedPage& page = document.pages.empty() ? blank : document.pages[p];
    cairo_pdf_surface_set_size(surface.get(), PageWidthPoints(page), PageHeightPoints(page.length));
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (size_t l = 0; l < page.lines.size(); ++l) {
      for (const PlacedItem& item : page.lines[l].items) {
        DrawItem(cr, item, kTopMarginPoints + static_cast<double>(l) * kLinePoints, font_sizes);
      }
    }
    cairo_show_page(cr);
  }
  cairo_status_t status = cairo_status(cr);
  context.reset();
  cairo_surface_finish(surface.get());
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface.get());
  if (status != CAIRO_STATUS_SUCCESS) {
    return PrintStatus::Error(PrintStatus::kIoError, "the PDF file " + std::string(path) +
                                                         " could not be written: " +
                                                         cairo_status_to_string(status));
  }
  return PrintStatus::Ok();
}

}  // namespace qav
