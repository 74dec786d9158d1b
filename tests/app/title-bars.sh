#!/usr/bin/env bash
# Run inside xvfb-run by TitleBarTest: starts the Tessaly executable given as $1 with
# `--lang $2`, opens the editor (titled $3) and one of its message boxes (titled $4) with the
# mouse, and prints what the X server holds as the title of each window ("main=...",
# "editor=...", "box=..."). Every wait is bounded.
set -u
"$1" --lang "$2" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null' EXIT

# Prints the id of a visible window of the process whose title contains $1.
find_window_once() {
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
        case "$(xdotool getwindowname "$id" 2>/dev/null)" in
        *"$1"*) echo "$id"; return 0 ;;
        esac
    done
    return 1
}

# The same, polling for up to 30 s (a cold start under the sanitizers is slow).
find_window() {
    for _ in $(seq 150); do
        find_window_once "$1" && return 0
        sleep 0.2
    done
    return 1
}

# Clicks at x y of window $1 until a window titled $4 shows up (up to 10 clicks, 2 s apart).
click_until() {
    for _ in $(seq 10); do
        xdotool mousemove --window "$1" "$2" "$3" click 1
        for _ in $(seq 10); do
            find_window_once "$4" && return 0
            sleep 0.2
        done
    done
    return 1
}

main="$(find_window Tessaly)" || { echo "no main window"; exit 1; }
echo "main=$(xdotool getwindowname "$main")"
# "程序编辑" on the main window, then "删除程序" in the editor (its question box); the buttons
# sit on the same spots in both languages.
editor="$(click_until "$main" 170 146 "$3")" || { echo "no editor"; exit 1; }
echo "editor=$(xdotool getwindowname "$editor")"
box="$(click_until "$editor" 562 397 "$4")" || { echo "no message box"; exit 1; }
echo "box=$(xdotool getwindowname "$box")"
