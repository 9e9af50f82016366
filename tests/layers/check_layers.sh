#!/bin/sh
# Fails on an include that goes against the layers of the source tree:
#   - src/storage includes nothing outside storage/ and core/ (the database file knows nothing
#     of the features above it);
#   - src/core includes nothing outside core/;
#   - no source of the core library (the files of ombrivo_core in src/CMakeLists.txt) includes
#     widget code: Qt Widgets, the widget kit (ui/), the skin or a window;
#   - nothing outside src/app includes src/app (start-up only).
#   check_layers.sh [ROOT]   ROOT is the project folder (default: this script's project)
set -eu
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root/src"
found=$(mktemp)
trap 'rm -f "$found"' EXIT

# "file: include" for every quoted or angled include of the given files.
includes() {
    for f in "$@"; do
        sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*\([<"][^>"]*[>"]\).*/\1/p' "$f" |
            while read -r inc; do printf '%s: %s\n' "$f" "$inc"; done
    done
}
sources() { find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort; }
flag() { while read -r line; do printf '%s (%s)\n' "$line" "$1" >>"$found"; done; }

# shellcheck disable=SC2046
includes $(sources storage) | grep -v ': <' | grep -v -E ': "(storage|core)/' |
    flag "storage includes only storage/ and core/" || true
# shellcheck disable=SC2046
includes $(sources core) | grep -v ': <' | grep -v -E ': "core/' |
    flag "core includes only core/" || true

widgets='QtWidgets|QWidget|QDialog|QApplication|QMainWindow|QMessageBox|QPushButton|QAbstractButton'
widgets="$widgets|QToolButton|QLineEdit|QTextEdit|QPlainTextEdit|QLabel|QComboBox|QCheckBox"
widgets="$widgets|QRadioButton|QGroupBox|QListWidget|QTreeWidget|QTableView|QTreeView|QListView"
widgets="$widgets|QAbstractItemView|QHeaderView|QMenu|QMenuBar|QSystemTrayIcon|QFileDialog|QStyle"
widgets="$widgets|QProxyStyle|QCommonStyle|QStyleOption|QStylePainter|QLayout|QBoxLayout"
widgets="$widgets|QHBoxLayout|QVBoxLayout|QGridLayout|QFormLayout|QSplitter|QScrollArea"
widgets="$widgets|QFrame|QSpinBox|QTextBrowser|QShortcut|QToolTip|QGraphicsView"
core_files=$(awk '/add_library\(ombrivo_core/{on=1; next} on && /\)/{on=0} on' CMakeLists.txt |
    tr ' \t' '\n\n' | grep -E '\.(cpp|h)$' || true)
# shellcheck disable=SC2086
includes $core_files | grep -E ": <($widgets)>|: \"(ui|skin|app)/|: \"[a-z]+/(Frm|Form1)" |
    flag "the core library has no widget code" || true

# shellcheck disable=SC2046
includes $(sources . | grep -v '^\./app/') | grep -E ': "app/' |
    flag "only src/app includes src/app" || true

if [ -s "$found" ]; then
    sed 's/^\.\///; s/^/src\//' "$found"
    echo "$(wc -l <"$found") include(s) against the layers"
    exit 1
fi
echo "layers: no include against them"
