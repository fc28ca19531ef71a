#!/usr/bin/env bash
# Every picture that the project's Markdown shows (the README's above all) is a file the
# repository tracks, so that a clone shows it too: a picture left out by .gitignore, or never
# added, fails here rather than as a broken image on the project's page.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root" || exit 1
if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    echo "not a git checkout: nothing to check"
    exit 77
fi

shown=0
missing=0
while IFS= read -r page; do
    folder=$(dirname "$page")
    # ![text](path) and <img src="path">; pictures on the web are not the repository's.
    while IFS= read -r picture; do
        [ -n "$picture" ] || continue
        case $picture in http://* | https://* | //*) continue ;; esac
        path=$(realpath -m --relative-to="$root" "$folder/${picture%%#*}")
        shown=$((shown + 1))
        if [ -z "$(git ls-files -- "$path")" ] || [ ! -f "$path" ]; then
            echo "$page shows $path, which the repository does not track"
            missing=$((missing + 1))
        fi
    done < <(grep -oE '!\[[^]]*\]\([^) ]+|<img [^>]*src="[^"]+"' "$page" |
        sed -E 's/^!\[[^]]*\]\(//; s/^<img [^>]*src="//; s/"$//')
done < <(git ls-files -- '*.md')

echo "$shown pictures shown, $missing not tracked"
[ "$missing" -eq 0 ]
