#!/usr/bin/env bash
# Pictures of the real program for the README: builds and installs Precivox, starts a
# private MariaDB server with the sample store, starts the program in its window on a
# virtual X display (Xvfb, with a window manager for the title bars), connects a
# few simulated terminals, works the window with xdotool and takes PNG pictures with
# ImageMagick's import into docs/screenshots/:
#
#   main-window.png     the window with the connected terminals listed
#   editing.png         a terminal's configuration read back, the boxes open for editing
#   discount-table.png  the discount table dialog with a marked row
#
#   scripts/screenshots.sh
#
# Everything runs inside a private network namespace that has only loopback, and the
# program's settings file always names 127.0.0.1 before it starts. The build folder is
# build/ unless PRECIVOX_BUILD_DIR names another.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/lib/packages.sh
SCREENSHOT_PACKAGES=(xvfb icewm xdotool imagemagick)
build=${PRECIVOX_BUILD_DIR:-build}

if [ -z "${PRECIVOX_SCREENSHOTS_INSIDE:-}" ]; then
    ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${SCREENSHOT_PACKAGES[@]}"
    cmake -S . -B "$build" -G Ninja >/dev/null
    cmake --build "$build" --target precivox precivox-terminal
    export PRECIVOX_SCREENSHOTS_INSIDE=1 PRECIVOX_BUILD_DIR=$build
    if [ "$(id -u)" -eq 0 ]; then exec unshare -n "$0"; else exec unshare -rn "$0"; fi
fi
ip link set lo up

. scripts/lib/private-mariadb.sh
. scripts/lib/sample-store.sh
work=$(mktemp -d /tmp/precivox-screenshots.XXXXXX)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    stop_private_mariadb
    rm -rf "$work"
}
trap cleanup EXIT
# Starts a command in the background and remembers it for the clean-up.
background() {
    "$@" &
    pids+=($!)
}

password=precivox-screenshots
start_private_mariadb "$work/mariadb" "$password"
load_sample_store "$password" gerente
cmake --install "$build" --prefix "$work/install" >/dev/null
bin=$work/install/bin
write_settings "$bin" "$password" gerente

export DISPLAY=:97
background Xvfb "$DISPLAY" -screen 0 1024x640x24 -dpi 96 -nolisten tcp
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
# A window manager that honours the windows' title bar hints, without compositing.
background icewm
sleep 1

background "$bin/precivox" --listen 127.0.0.1:7510 2>"$work/precivox.log"
precivox_pid=$!
window=$(timeout 30 xdotool search --sync --name '^Precivox 1\.0\.0\.8$' | head -1)

# A simulated terminal stays connected while its standard input stays open: theirs is a
# FIFO that this script holds open and never writes to.
mkfifo "$work/terminal-input"
exec 3<>"$work/terminal-input"
terminal() {
    "$bin/precivox-terminal" --port 7510 --number "$@" <"$work/terminal-input" >/dev/null &
    pids+=($!)
}
terminal 3 --client 192.168.0.53 --mask 255.255.255.0 --text1 "CONSULTE O PREÇO" \
    --text2 "AQUI" --time 5
terminal 7 --client 192.168.0.57 --mask 255.255.255.0 --text1 "BEM-VINDO" --time 8
terminal 12 --client 192.168.0.62 --mask 255.255.255.0 --text1 "OFERTAS DO DIA" --time 3
sleep 3

mkdir -p docs/screenshots
shoot() { # window file
    sleep 1.5
    import -frame -window "$1" "docs/screenshots/$2"
    echo "docs/screenshots/$2"
}
at() { # window x y: click at a point of the window's client area
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.3
}

xdotool windowactivate --sync "$window"
shoot "$window" main-window.png

# The last line, which the list keeps highlighted once all three came in together; then
# "Configuração": that terminal's reply fills the open boxes.
at "$window" 40 34
at "$window" 380 144
shoot "$window" editing.png

# "Selecionar Tabela" opens the dialog; mark the third table, leave the cursor below it.
at "$window" 352 27
dialog=$(timeout 30 xdotool search --sync --name '^Selecionar Tabela de Desconto$' | head -1)
xdotool windowactivate --sync "$dialog"
xdotool key Down Down F5 Down Down
shoot "$dialog" discount-table.png
xdotool key Escape
sleep 0.5
xdotool windowactivate --sync "$window"
xdotool key Escape
wait "$precivox_pid" || true
