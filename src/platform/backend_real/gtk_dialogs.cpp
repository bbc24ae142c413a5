// Message boxes, the bell and the file chooser on GTK 3, run in process while the main
// window waits. The main window's events are still serviced meanwhile (so it does not look
// hung and a SIGTERM still ends the program), but its input is discarded.
#include <gtk/gtk.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "platform/backend_real/real_pieces.h"
#include "platform/graphics/detail/text_encoding.h"
#include "platform/text/tr.h"
#include "platform/windowing/detail/fix_text.h"
#include "platform/windowing/detail/locale_setup.h"
#include "platform/windowing/detail/message_box_type.h"
#include "platform/windowing/detail/message_queue.h"
#include "platform/windowing/detail/modal_scope.h"

namespace platform {
namespace {

// The file chooser must fit a 1024 x 768 screen with room for panels.
constexpr int kChooserWidth = 760;
constexpr int kChooserHeight = 540;
constexpr guint kServiceMs = 30;

constexpr UINT kIconMask = 0xF0;

// Button labels in the desktop's language, from GTK's own translations.
const char* Label(const char* text) { return g_dgettext("gtk30", text); }

std::string Utf8(const std::string& bytes) {
  return IsValidUtf8(bytes) ? bytes : Windows1252ToUtf8(bytes);
}

gboolean ServiceMainWindow(gpointer dialog) {
  PumpWindowSystem();
  // Asked to end: the box goes away as if closed, so the program can shut down.
  if (TerminationRequested()) gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_DELETE_EVENT);
  return G_SOURCE_CONTINUE;
}

// Runs a dialog to its answer, in front and with the keyboard focus; `answered` reads the
// dialog before it is destroyed. A width and height, when given, are applied once the
// dialog is up, since the file chooser sizes itself from its font while it is being shown.
int RunModal(GtkWidget* dialog, const std::function<void(int)>& answered = {}, int width = 0,
             int height = 0) {
  GtkWindow* window = GTK_WINDOW(dialog);
  if (TerminationRequested()) {
    if (answered) answered(GTK_RESPONSE_DELETE_EVENT);
    gtk_widget_destroy(dialog);
    return GTK_RESPONSE_DELETE_EVENT;
  }
  gtk_window_set_keep_above(window, TRUE);
  gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  gtk_widget_show_all(dialog);
  if (width > 0 && height > 0) {
    gtk_window_resize(window, width, height);
    gtk_window_set_position(window, GTK_WIN_POS_CENTER_ALWAYS);
  }
  gtk_window_present(window);
  guint service = g_timeout_add(kServiceMs, ServiceMainWindow, dialog);
  int response = gtk_dialog_run(GTK_DIALOG(dialog));
  g_source_remove(service);
  if (answered) answered(response);
  gtk_widget_destroy(dialog);
  // Let the window actually go away before the program draws again.
  while (gtk_events_pending()) gtk_main_iteration();
  return response;
}

GtkResponseType ResponseOf(int answer) {
  switch (answer) {
    case IDYES:
      return GTK_RESPONSE_YES;
    case IDNO:
      return GTK_RESPONSE_NO;
    case IDCANCEL:
      return GTK_RESPONSE_CANCEL;
    default:
      return GTK_RESPONSE_OK;
  }
}

// A given name gets its first letter as the mnemonic (Alt+S for "Save").
std::string ButtonLabel(int answer, const BoxLabels& labels) {
  const std::string& given = answer == IDYES      ? labels.yes
                             : answer == IDNO     ? labels.no
                             : answer == IDCANCEL ? labels.cancel
                                                  : std::string();
  if (!given.empty()) return "_" + Utf8(given);
  switch (answer) {
    case IDYES:
      return Label("_Yes");
    case IDNO:
      return Label("_No");
    case IDCANCEL:
      return Label("_Cancel");
    default:
      return Label("_OK");
  }
}

int AnswerFromResponse(int response, UINT type) {
  switch (response) {
    case GTK_RESPONSE_OK:
      return IDOK;
    case GTK_RESPONSE_YES:
      return IDYES;
    case GTK_RESPONSE_NO:
      return IDNO;
    case GTK_RESPONSE_CANCEL:
      return IDCANCEL;
    default:
      // Closed without a button (Escape, the close box): the answer that changes nothing.
      switch (type & MB_TYPEMASK) {
        case MB_OK:
          return IDOK;
        case MB_YESNO:
          return IDNO;
        default:
          return IDCANCEL;
      }
  }
}

GtkMessageType IconType(UINT type) {
  switch (type & kIconMask) {
    case MB_ICONERROR:
      return GTK_MESSAGE_ERROR;
    case MB_ICONQUESTION:
      return GTK_MESSAGE_QUESTION;
    case MB_ICONWARNING:
      return GTK_MESSAGE_WARNING;
    case MB_ICONINFORMATION:
      return GTK_MESSAGE_INFO;
    default:
      return GTK_MESSAGE_OTHER;
  }
}

// Patterns of the platform this replaces match without regard to case, and "*.*" matches
// every file, with or without an extension.
std::string GlobPattern(std::string p) {
  if (p == "*.*") return "*";
  std::string out;
  for (char c : p) {
    if (std::isalpha(static_cast<unsigned char>(c))) {
      out += '[';
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      out += ']';
    } else {
      out += c;
    }
  }
  return out;
}

void AddFilters(GtkFileChooser* chooser, const FileDialogRequest& r) {
  GtkFileFilter* chosen = nullptr;
  DWORD index = 1;
  for (const auto& [label, patterns] : r.filters) {
    GtkFileFilter* f = gtk_file_filter_new();
    gtk_file_filter_set_name(f, Utf8(label).c_str());
    size_t start = 0;
    while (start <= patterns.size()) {
      size_t end = patterns.find(';', start);
      if (end == std::string::npos) end = patterns.size();
      std::string p = patterns.substr(start, end - start);
      while (!p.empty() && p.front() == ' ') p.erase(p.begin());
      while (!p.empty() && p.back() == ' ') p.pop_back();
      if (!p.empty()) gtk_file_filter_add_pattern(f, GlobPattern(p).c_str());
      start = end + 1;
    }
    gtk_file_chooser_add_filter(chooser, f);
    // Index 0 would be a custom filter, which is not offered: the first one is taken.
    if (index == r.filterIndex || chosen == nullptr) chosen = f;
    ++index;
  }
  if (chosen != nullptr) gtk_file_chooser_set_filter(chooser, chosen);
}

struct FixFields {
  GtkWidget* latitude;
  GtkWidget* longitude;
  double fixLatitude;
  double fixLongitude;
};

void FillFromFix(GtkButton*, gpointer data) {
  const auto* f = static_cast<const FixFields*>(data);
  gtk_entry_set_text(GTK_ENTRY(f->latitude), FormatFixCoordinate(f->fixLatitude).c_str());
  gtk_entry_set_text(GTK_ENTRY(f->longitude), FormatFixCoordinate(f->fixLongitude).c_str());
}

GtkWidget* CoordinateEntry(GtkGrid* grid, int row, const char* label, const std::string& text) {
  GtkWidget* name = gtk_label_new_with_mnemonic(label);
  gtk_widget_set_halign(name, GTK_ALIGN_START);
  GtkWidget* entry = gtk_entry_new();
  gtk_entry_set_text(GTK_ENTRY(entry), Utf8(text).c_str());
  gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
  gtk_entry_set_width_chars(GTK_ENTRY(entry), 16);
  gtk_label_set_mnemonic_widget(GTK_LABEL(name), entry);
  gtk_grid_attach(grid, name, 0, row, 1, 1);
  gtk_grid_attach(grid, entry, 1, row, 1, 1);
  return entry;
}

}  // namespace

bool EnsureGtk() {
  static int state = -1;
  if (state < 0) {
    state = gtk_init_check(nullptr, nullptr) ? 1 : 0;
    KeepNumericLocale();
  }
  return state == 1;
}

int GtkDialogPiece::MessageBox(HWND, const std::string& text, const std::string& caption, UINT type,
                               const BoxLabels& labels) {
  if (!EnsureGtk()) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return DefaultAnswer(type);
  }
  GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, IconType(type),
                                             GTK_BUTTONS_NONE, "%s", Utf8(text).c_str());
  for (int answer : BoxAnswers(type)) {
    gtk_dialog_add_button(GTK_DIALOG(dialog), ButtonLabel(answer, labels).c_str(),
                          ResponseOf(answer));
  }
  // Enter gives the default answer.
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), ResponseOf(DefaultAnswer(type)));
  gtk_window_set_title(GTK_WINDOW(dialog), Utf8(caption).c_str());
  return AnswerFromResponse(RunModal(dialog), type);
}

void GtkDialogPiece::Beep(UINT) {
  if (!EnsureGtk()) return;
  GdkDisplay* display = gdk_display_get_default();
  if (display == nullptr) return;
  gdk_display_beep(display);
  gdk_display_flush(display);
}

std::optional<std::string> GtkDialogPiece::ChooseFile(const FileDialogRequest& r) {
  if (!EnsureGtk()) {
    std::fprintf(stderr, _("%s: no display for the file dialog\n"), r.title.c_str());
    return std::nullopt;
  }
  GtkWidget* dialog = gtk_file_chooser_dialog_new(
      Utf8(r.title).c_str(), nullptr, GTK_FILE_CHOOSER_ACTION_OPEN, Label("_Cancel"),
      GTK_RESPONSE_CANCEL, Label("_Open"), GTK_RESPONSE_ACCEPT, nullptr);
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
  gtk_window_set_default_size(GTK_WINDOW(dialog), kChooserWidth, kChooserHeight);
  gtk_file_chooser_set_local_only(chooser, TRUE);
  AddFilters(chooser, r);
  // The given folder when it exists here (a drive letter does not), else the current one.
  std::error_code ec;
  std::string folder = r.initialDir;
  if (folder.empty() || !std::filesystem::is_directory(folder, ec)) {
    folder = std::filesystem::current_path(ec).string();
  }
  gtk_file_chooser_set_current_folder(chooser, folder.c_str());

  std::optional<std::string> chosen;
  RunModal(
      dialog,
      [&](int response) {
        if (response != GTK_RESPONSE_ACCEPT) return;
        if (gchar* name = gtk_file_chooser_get_filename(chooser)) {
          chosen = name;
          g_free(name);
        }
      },
      kChooserWidth, kChooserHeight);
  return chosen;
}

}  // namespace platform

namespace platform {

std::optional<GpsEntryAnswer> GtkDialogPiece::AskGpsPosition(HWND, const GpsEntryRequest& r) {
  if (!EnsureGtk()) {
    std::fprintf(stderr, _("%s: no display for the GPS position dialog\n"), r.title.c_str());
    return std::nullopt;
  }
  GtkWidget* dialog = gtk_dialog_new_with_buttons(Utf8(r.title).c_str(), nullptr, GTK_DIALOG_MODAL,
                                                  Label("_Cancel"), GTK_RESPONSE_CANCEL,
                                                  Label("_OK"), GTK_RESPONSE_OK, nullptr);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);

  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_row_spacing(GTK_GRID(grid), 6);
  gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
  gtk_container_set_border_width(GTK_CONTAINER(grid), 12);
  GtkWidget* prompt = gtk_label_new(Utf8(r.prompt).c_str());
  gtk_label_set_line_wrap(GTK_LABEL(prompt), TRUE);
  gtk_label_set_max_width_chars(GTK_LABEL(prompt), 48);
  gtk_widget_set_halign(prompt, GTK_ALIGN_START);
  gtk_grid_attach(GTK_GRID(grid), prompt, 0, 0, 2, 1);
  FixFields fields{};
  fields.latitude =
      CoordinateEntry(GTK_GRID(grid), 1, _("_Latitude (degrees, north +):"), r.latitude);
  fields.longitude =
      CoordinateEntry(GTK_GRID(grid), 2, _("Lon_gitude (degrees, east +):"), r.longitude);
  fields.fixLatitude = r.fixLatitude;
  fields.fixLongitude = r.fixLongitude;
  GtkWidget* useFix = gtk_button_new_with_mnemonic(
      r.fixAvailable ? _("Use the current _fix") : _("Use the current fix (no fix yet)"));
  gtk_widget_set_sensitive(useFix, r.fixAvailable ? TRUE : FALSE);
  g_signal_connect(useFix, "clicked", G_CALLBACK(FillFromFix), &fields);
  gtk_grid_attach(GTK_GRID(grid), useFix, 1, 3, 1, 1);
  gtk_container_add(GTK_CONTAINER(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), grid);
  gtk_widget_grab_focus(fields.latitude);

  std::optional<GpsEntryAnswer> answer;
  RunModal(dialog, [&](int response) {
    if (response != GTK_RESPONSE_OK) return;  // Cancel, Escape or the window manager's close
    answer = GpsEntryAnswer{gtk_entry_get_text(GTK_ENTRY(fields.latitude)),
                            gtk_entry_get_text(GTK_ENTRY(fields.longitude))};
  });
  return answer;
}

}  // namespace platform
