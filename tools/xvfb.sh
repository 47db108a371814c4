#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts and stops a private Xvfb display (sourced by the test and demo commands).

start_private_display() {
    local number
    for number in $(seq 91 140); do
        if [ ! -e "/tmp/.X11-unix/X$number" ] && [ ! -e "/tmp/.X$number-lock" ]; then
            Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
            QUANE_XVFB_PID=$!
            export DISPLAY=":$number"
            local attempt
            for attempt in $(seq 1 50); do
                if xdpyinfo >/dev/null 2>&1; then
                    return 0
                fi
                sleep 0.1
            done
            echo "Xvfb did not start on :$number" >&2
            return 1
        fi
    done
    echo "no free X display number" >&2
    return 1
}

stop_private_display() {
    if [ -n "${QUANE_XVFB_PID:-}" ]; then
        kill "$QUANE_XVFB_PID" 2>/dev/null || true
        wait "$QUANE_XVFB_PID" 2>/dev/null || true
    fi
}
