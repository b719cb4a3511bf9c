#!/usr/bin/env bash
# The installed package, for real: CI only (./vexilo test with CI=true, a disposable machine,
# as root), since it changes the system.
#
#   dist/ci-install-check.sh BUILD_DIR
#
# 1. apt-get installs BUILD_DIR/packages/vexilo_*.deb; apt must resolve every dependency
#    (recommended packages left out: what Depends names must be enough).
# 2. The installed program is started through its desktop entry's command, as an ordinary
#    user under Xvfb (tests/e2e: installed_start, then installed_keeps_numbers: saving into
#    and restoring from the user's data directory), and as root (installed_as_root: root's
#    data directory, nothing written under /usr although root could).
# 3. apt-get purges it, and nothing of it may be left under /usr: every path that is new
#    since before the install must belong to another package (a dependency that apt
#    brought), or be a cache that a trigger of another package rebuilt without it.
# Exits 1 when any step fails; every step runs regardless.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "$1" && pwd)"
apt=(env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -q)
log() { printf '[install check] %s\n' "$*" >&2; }
failed=()

debs=("$build"/packages/vexilo_*.deb)
if [ "${#debs[@]}" -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    log "expected one .deb in $build/packages: ${debs[*]}"; exit 1
fi
deb="${debs[0]}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

if dpkg-query -W -f='${Status}' vexilo 2>/dev/null | grep -q 'install ok installed'; then
    log "vexilo is installed already; purging it first"
    "${apt[@]}" purge vexilo </dev/null >/dev/null
fi
find /usr -xdev | sort >"$scratch/before"

log "apt-get install $deb"
if ! (cd "$(dirname "$deb")" && "${apt[@]}" install --no-install-recommends \
        "./$(basename "$deb")" </dev/null); then
    log "FAILED: apt-get could not install the package"; exit 1
fi
dpkg -L vexilo | sort >"$scratch/owned"
log "installed $(grep -c . "$scratch/owned") paths"

for scenario in installed_start installed_keeps_numbers installed_as_root; do
    log "scenario $scenario"
    /usr/bin/python3 "$root/tests/e2e/run_scenario.py" \
        --artifacts "$build/tests/e2e/artifacts" --budget 150 "$scenario" </dev/null ||
        failed+=("e2e.$scenario")
done

log "apt-get purge vexilo"
"${apt[@]}" purge vexilo </dev/null || failed+=("purge")
find /usr -xdev | sort >"$scratch/after"
left=()
while IFS= read -r path; do
    if dpkg-query -S "$path" >/dev/null 2>&1; then
        continue  # a file of a dependency that apt brought along
    fi
    case "$path" in
        */mimeinfo.cache | */icon-theme.cache | */gschemas.compiled)
            # A cache that another package's trigger rebuilt; it must not list Vexilo.
            if ! grep -qai 'vexilo' "$path"; then continue; fi ;;
    esac
    left+=("$path")
done < <(comm -13 "$scratch/before" "$scratch/after")
if ((${#left[@]})); then
    log "FAILED: left under /usr after the purge: ${left[*]}"
    failed+=("purge left files")
else
    log "nothing of the package is left under /usr"
fi

if ((${#failed[@]})); then log "FAILED: ${failed[*]}"; exit 1; fi
log "install, start as an ordinary user, purge: ok"
