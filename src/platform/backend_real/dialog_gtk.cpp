// Dialogs on the real backend: a modal GTK window laid out from the template in pixels
// derived from the dialog font, with its own event loop until the procedure ends it.
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "platform/text/tr.h"
#include "platform/windowing/detail/locale_setup.h"
#include "platform/windowing/detail/modal_dialog.h"
#include "platform/windowing/detail/modal_scope.h"
#include "platform/windowing/win_api.h"

namespace platform {

namespace {

struct GtkDialogView {
  ModalDialog* dialog = nullptr;
  GtkWidget* window = nullptr;
  std::vector<std::pair<int, GtkWidget*>> widgets;  // control id, widget
  bool syncing = false;  // a check state set by a message, not by the user

  GtkWidget* Widget(int id) const {
    for (const auto& [cid, w] : widgets)
      if (cid == id) return w;
    return nullptr;
  }
  int IdOf(GtkWidget* widget) const {
    for (const auto& [cid, w] : widgets)
      if (w == widget) return cid;
    return -1;
  }
};

std::string FontCss(const DialogTemplate& t) {
  std::string family = t.fontName.empty() ? "Sans" : t.fontName;
  std::string quoted;
  for (char c : family)
    if (c != '"' && c != '\\') quoted.push_back(c);
  // Buttons and boxes as compact as the dialog-unit boxes they are given.
  return "* { font-family: \"" + quoted + "\", sans-serif; font-size: " +
         std::to_string(t.fontPoints) +
         "pt; }\n"
         "button { padding: 0 4px; min-height: 0; min-width: 0; }\n"
         "checkbutton { padding: 0; min-height: 0; }\n";
}

void ApplyCss(GtkWidget* widget, GtkCssProvider* css) {
  gtk_style_context_add_provider(gtk_widget_get_style_context(widget), GTK_STYLE_PROVIDER(css),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

// Base units from the font the window actually got (the template's font may be missing and
// replaced by the font configuration's nearest match).
DialogBaseUnits MeasureBaseUnits(GtkWidget* window) {
  PangoLayout* layout =
      gtk_widget_create_pango_layout(window, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  int width = 0, height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  g_object_unref(layout);
  DialogBaseUnits base{AverageCharWidth(width), height};
  if (base.x <= 0) base.x = 6;
  if (base.y <= 0) base.y = 13;
  return base;
}

void OnClicked(GtkButton* button, gpointer data) {
  auto* view = static_cast<GtkDialogView*>(data);
  if (view->syncing) return;
  int id = view->IdOf(GTK_WIDGET(button));
  ModalDialog::Control* c = view->dialog->FindControl(id);
  if (!c) return;
  if (GTK_IS_TOGGLE_BUTTON(button)) {
    // GTK has already flipped the box; the dialog flips automatic boxes itself, so put
    // the widget back to the dialog's state and let the click go through the dialog.
    view->syncing = true;
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(button), c->checked);
    view->syncing = false;
  }
  view->dialog->Click(id);
  if (GTK_IS_TOGGLE_BUTTON(button) && !view->dialog->Ended()) {
    view->syncing = true;
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(button), c->checked);
    view->syncing = false;
  }
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
  static_cast<GtkDialogView*>(data)->dialog->Close();
  return TRUE;  // the window goes when the dialog has ended
}

gboolean OnKeyPress(GtkWidget* window, GdkEventKey* event, gpointer data) {
  auto* view = static_cast<GtkDialogView*>(data);
  if (event->keyval == GDK_KEY_Escape) {
    view->dialog->Close();
    return TRUE;
  }
  if (event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter) {
    // Enter presses the focused push button, else the default one.
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window));
    int id = view->IdOf(focus);
    ModalDialog::Control* c = view->dialog->FindControl(id);
    bool pushButton = c && (c->tmpl->Kind() == DialogControlKind::PushButton ||
                            c->tmpl->Kind() == DialogControlKind::DefaultPushButton);
    if (!pushButton) {
      c = view->dialog->DefaultButton();
      if (!c) c = view->dialog->FindControl(IDOK);
    }
    if (c) view->dialog->Click(c->tmpl->id);
    return TRUE;
  }
  return FALSE;
}

GtkWidget* MakeControl(const DialogControlTemplate& t) {
  switch (t.Kind()) {
    case DialogControlKind::PushButton:
    case DialogControlKind::DefaultPushButton:
      return gtk_button_new_with_label(tr::Text(t.text.c_str()));
    case DialogControlKind::CheckBox:
    case DialogControlKind::AutoCheckBox:
      return gtk_check_button_new_with_label(tr::Text(t.text.c_str()));
    case DialogControlKind::Unsupported:
      break;
  }
  return gtk_label_new(tr::Text(t.text.c_str()));
}

// Where the owner's client area starts on the screen; the template's position is relative
// to it.
POINT OwnerOrigin(HWND owner) {
  POINT p{0, 0};
  if (owner && ScreenToClient(owner, &p)) return POINT{-p.x, -p.y};
  return POINT{0, 0};
}

// Wakes the loop now and then so that a request to end the process is seen even while
// nothing happens in the dialog.
gboolean WakeUp(gpointer) { return G_SOURCE_CONTINUE; }

void Pump() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

}  // namespace

bool RunGtkDialog(ModalDialog& dialog, LPARAM param) {
  // Once the process is asked to end no new dialog holds it up.
  if (TerminationRequested()) return false;
  ModalScope modal;
  bool ready = gtk_init_check(nullptr, nullptr);
  KeepNumericLocale();
  if (!ready) return false;
  const DialogTemplate& t = dialog.Template();

  GtkDialogView view;
  view.dialog = &dialog;
  view.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* window = GTK_WINDOW(view.window);
  gtk_window_set_title(window, tr::Text(t.caption.c_str()));
  gtk_window_set_modal(window, TRUE);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_keep_above(window, TRUE);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
  gtk_window_set_skip_taskbar_hint(window, TRUE);

  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, FontCss(t).c_str(), -1, nullptr);
  ApplyCss(view.window, css);
  DialogBaseUnits base = MeasureBaseUnits(view.window);

  GtkWidget* fixed = gtk_fixed_new();
  RECT area = DialogUnitsToPixels(0, 0, t.cx, t.cy, base);
  gtk_widget_set_size_request(fixed, area.right, area.bottom);
  gtk_container_add(GTK_CONTAINER(view.window), fixed);

  for (ModalDialog::Control& c : dialog.Controls()) {
    const DialogControlTemplate& ct = *c.tmpl;
    GtkWidget* w = MakeControl(ct);
    ApplyCss(w, css);
    // Styles do not cascade to children: the label inside a button needs the font too.
    if (GTK_IS_BIN(w)) {
      if (GtkWidget* child = gtk_bin_get_child(GTK_BIN(w))) ApplyCss(child, css);
    }
    RECT rc = DialogUnitsToPixels(ct.x, ct.y, ct.cx, ct.cy, base);
    gtk_widget_set_size_request(w, rc.right - rc.left, rc.bottom - rc.top);
    gtk_fixed_put(GTK_FIXED(fixed), w, rc.left, rc.top);
    gtk_widget_set_can_focus(w, (ct.style & WS_TABSTOP) != 0);
    if (ct.Kind() == DialogControlKind::DefaultPushButton) {
      gtk_widget_set_can_default(w, TRUE);
      gtk_window_set_default(window, w);
    }
    if (GTK_IS_BUTTON(w)) g_signal_connect(w, "clicked", G_CALLBACK(OnClicked), &view);
    view.widgets.emplace_back(ct.id, w);
  }
  g_object_unref(css);

  dialog.onCheckChanged = [&view](int id, bool checked) {
    GtkWidget* w = view.Widget(id);
    if (!w || !GTK_IS_TOGGLE_BUTTON(w)) return;
    view.syncing = true;
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w), checked);
    view.syncing = false;
  };
  g_signal_connect(view.window, "delete-event", G_CALLBACK(OnDelete), &view);
  g_signal_connect(view.window, "key-press-event", G_CALLBACK(OnKeyPress), &view);

  POINT origin = OwnerOrigin(dialog.Owner());
  RECT pos = DialogUnitsToPixels(t.x, t.y, 0, 0, base);
  gtk_window_move(window, origin.x + pos.left, origin.y + pos.top);

  bool focusFirst = dialog.Initialise(param) != 0;
  if (!dialog.Ended()) {
    gtk_widget_show_all(view.window);
    ModalDialog::Control* first = dialog.FirstTabStop();
    if (focusFirst && first) gtk_widget_grab_focus(view.Widget(first->tmpl->id));
    gtk_window_present(window);
    guint wake = g_timeout_add(200, WakeUp, nullptr);
    while (!dialog.Ended()) {
      gtk_main_iteration_do(TRUE);
      if (TerminationRequested()) {
        dialog.Close();
        break;
      }
    }
    g_source_remove(wake);
  }
  dialog.onCheckChanged = nullptr;
  gtk_widget_destroy(view.window);
  Pump();  // let the window disappear before the caller goes on drawing
  return true;
}

}  // namespace platform
