#!/usr/bin/env bash
# The core (link/, config/, history/, firmware/, port/, session/) needs QtCore only: it must not
# include a widget or GUI header, nor anything of the window's, and its sources
# must not be built into the widget library. The chart (chart/) sits above the
# core and beside the window: QtGui, the history and the settings, nothing of the
# window's, the line's or the session's. Fails with the offending lines.
set -euo pipefail
cd "$(dirname "$0")/.."

core=(link config history firmware port session)
status=0

if hits=$(grep -nE '#[[:space:]]*include[[:space:]]*[<"](ui/|app/|chart/|Qt(Widgets|Gui)/|Q(Widget|Application|GuiApplication|Color|Palette|Pixmap|Image|Painter|Font|Icon|Dialog|Label|LineEdit|PlainTextEdit|MainWindow|PushButton|ToolButton|CheckBox|ComboBox|Action|Menu|MessageBox|FileDialog|StatusBar|Frame)\b)' \
        -r "${core[@]}" --include='*.h' --include='*.cpp'); then
  echo "check-layers: the core includes widget or window headers:" >&2
  echo "$hits" >&2
  status=1
fi

if hits=$(grep -nE 'tq3app|Qt6?::(Widgets|Gui)' "${core[@]/%//CMakeLists.txt}"); then
  echo "check-layers: the core's sources go into a widget target:" >&2
  echo "$hits" >&2
  status=1
fi

# The chart paints with QtGui and reads the history and the settings' formats; it
# knows nothing of the window, the line or the session, and builds no widget.
if hits=$(grep -nE '#[[:space:]]*include[[:space:]]*[<"](ui/|app/|link/|session/|port/|serial/|QtWidgets/|Q(Widget|Application|Dialog|Label|MainWindow|PushButton|MessageBox|FileDialog|StatusBar|Frame)\b)' \
        -r chart --include='*.h' --include='*.cpp'); then
  echo "check-layers: the chart includes window, line or session headers:" >&2
  echo "$hits" >&2
  status=1
fi
if hits=$(grep -nE 'tq3app|tq3link|tq3session|tq3port|vaserial|Qt6?::Widgets' chart/CMakeLists.txt); then
  echo "check-layers: the chart links a window, line or session target:" >&2
  echo "$hits" >&2
  status=1
fi

exit $status
