# Sourced (not run) by the scripts that drive the real editor on an X server with xdotool.
#
#   x_session NAME   makes a private directory $work (/tmp/spritehex-NAME.XXXXXX) holding HOME,
#                    XDG_DATA_HOME (so recovery copies stay in it) and XDG_RUNTIME_DIR, and removes
#                    it at exit, after killing the program whose process id the script keeps in
#                    $pid.
#
# Failures end the script with "$fail_prefix: message" on standard error (default FAIL). Every
# wait gives up after five seconds.

fail() { echo "${fail_prefix:-FAIL}: $*" >&2; exit 1; }

check() { # what expected actual
  [[ "$2" == "$3" ]] || fail "$1: expected '$2', got '$3'"
  echo "ok: $1"
}

x_session() { # name
  unset QT_QPA_PLATFORM
  work=$(mktemp -d "/tmp/spritehex-$1.XXXXXX")
  export HOME=$work XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/.local/share
  mkdir -m 700 "$work/run"
  pid=
  trap x_session_end EXIT
}

x_session_end() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}

find_window() { # name: waits for a visible window with that exact title, prints its id
  for _ in $(seq 100); do
    local id
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    [[ -n "$id" ]] && { echo "$id"; return 0; }
    sleep 0.05
  done
  fail "no window named '$1'"
}

wait_focus() { # window: waits until it has the keyboard focus
  for _ in $(seq 100); do
    [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$1" ]] && return 0
    sleep 0.05
  done
  fail "window $1 never got the focus"
}

wait_title() { # window title
  for _ in $(seq 100); do
    [[ "$(xdotool getwindowname "$1" 2>/dev/null)" == "$2" ]] && return 0
    sleep 0.05
  done
  fail "title: expected '$2', got '$(xdotool getwindowname "$1" 2>/dev/null)'"
}

pixel() { # picture x y: the colour of a pixel as RRGGBB
  /usr/bin/convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- |
    grep -o '#[0-9A-Fa-f]\{6\}' | head -1 | tr -d '#' | tr 'a-f' 'A-F'
}
