#!/usr/bin/env bash
# Which build tree, Wine architecture, loader and server each tool picks, for both answers of
# tools/wine/can-run-i386 (forced by TUNEWICK_CAN_RUN_I386), so that the Wine path this machine
# does not take is checked too. Nothing runs under Wine: each tool prints its choice
# (--print-choice) over a copy of the tools whose build trees hold bare PE headers.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$scratch"' EXIT
cp -r "$root/tools" "$root/Makefile" "$scratch/"

# A file that starts like a Windows program for one machine (0x14c i686, 0x8664 x86_64).
pe_header() {
    { printf 'MZ'; head -c 58 /dev/zero; printf '\x40\0\0\0PE\0\0'; printf "$2"; } >"$1"
}
mkdir -p "$scratch/build/win32/bin" "$scratch/build/win64/bin" "$scratch/build/broken/bin"
for program in Tunewick standin_messenger standin_player; do
    pe_header "$scratch/build/win32/bin/$program.exe" '\x4c\x01'
    pe_header "$scratch/build/win64/bin/$program.exe" '\x64\x86'
    pe_header "$scratch/build/broken/bin/$program.exe" '\xc4\x01' # ARM
done
# Sessions as `session start` records them.
for arch in win32 win64; do
    mkdir -p "$scratch/sessions/$arch"
    echo "$arch" >"$scratch/sessions/$arch/arch"
done

# What a tool must print for programs of one architecture: the loader and server that runs
# them, as Debian's wine32 and wine64 install them.
wine() {
    case $1 in
    win32) echo "arch=win32 loader=/usr/lib/wine/wine server=/usr/lib/wine/wineserver32" ;;
    win64) echo "arch=win64 loader=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64" ;;
    esac
}

# A command run in the copy | what it must print, with $runs the tree the answer asks for,
# $other the other one; "fails" when it must refuse. Paths are printed relative to the copy.
cases=$(cat <<'EOF'
make -s --no-print-directory print-wine-tree | tree=build/$runs
tools/setup --print-choice | wine=$wine_packages
tools/footprint --print-choice | tree=build/$runs preset=$runs $(wine $runs)
tools/footprint --print-choice --wine build/$other | tree=build/$other preset=$other $(wine $other)
tools/footprint --print-choice --wine unbuilt | tree=unbuilt preset=$runs $(wine $runs)
tools/demo --print-choice | tree=build/$runs $(wine $runs)
tools/demo --print-choice build/$other | tree=build/$other $(wine $other)
tools/screenshot-main --print-choice | tree=build/$runs $(wine $runs)
tools/screenshot-main --print-choice build/$other | tree=build/$other $(wine $other)
tools/screenshot-main --print-choice build/broken | fails
tools/wine/session --print-choice start sessions/new $other | $(wine $other)
tools/wine/session --print-choice stop sessions/$other | $(wine $other)
tools/wine/run --print-choice sessions/$other build/$runs/bin/Tunewick.exe | $(wine $other)
tools/wine/run --print-choice sessions/none build/$other/bin/Tunewick.exe | $(wine $other)
EOF
)

failures=0
for answer in yes no; do
    if [ $answer = yes ]; then
        runs=win32 other=win64 wine_packages="wine wine32:i386"
    else
        runs=win64 other=win32 wine_packages="wine wine32:i386 wine64"
    fi
    while IFS='|' read -r command expected; do
        command=$(eval "echo \"${command% }\"")
        expected=$(eval "echo \"${expected# }\"")
        output=$(cd "$scratch" && env -u MAKEFLAGS -u MAKELEVEL TUNEWICK_CAN_RUN_I386=$answer \
            $command 2>&1)
        code=$?
        if [ "$expected" = fails ]; then
            [ $code -ne 0 ] && continue
        elif [ $code -eq 0 ] && [ "${output//$scratch\//}" = "$expected" ]; then
            continue
        fi
        echo "FAIL (i386 code runs: $answer) $command"
        echo "  expected: $expected"
        echo "  got:      ${output//$scratch\//} (exit $code)"
        failures=$((failures + 1))
    done <<<"$cases"
done
[ $failures -eq 0 ] && echo "every tool picks its tree and Wine for both answers"
exit $((failures > 0))
