#!/usr/bin/env bash
# The Debian package, end to end:
#   package_test.sh SOURCE_DIR BUILD_DIR
# builds the package of BUILD_DIR (the optimised build) with CPack, checks its
# file list and control fields, validates the desktop entry and the metainfo,
# runs lintian, unpacks it with dpkg -x and runs the installed rasp and,
# offscreen, the installed window with a read-only program folder.
#
# A missing checking tool skips that check with a message; without BUILD_DIR
# the whole test is skipped (status 77). Nothing here reaches the network:
# the window runs in a network namespace of its own, or not at all.
set -uo pipefail

src=$(realpath "$1")
build=$2
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
ok() { echo "ok: $*"; }
skipped() { echo "SKIPPED: $*"; }
have() { command -v "$1" >/dev/null 2>&1; }

if [[ ! -f $build/CMakeCache.txt ]]; then
  echo "SKIPPED: no optimised build in $build (./test.sh configures and builds it first)"
  exit 77
fi
build=$(realpath "$build")

tmp=$(mktemp -d)
cleanup() {
  chmod -R u+w "$tmp" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

# --- the package -------------------------------------------------------------
if ! cmake --build "$build" --target package >"$tmp/package.log" 2>&1; then
  cat "$tmp/package.log"
  echo "FAIL: cmake --build $build --target package"
  exit 1
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb=$build/tellivo-rasp_${version}_${arch}.deb
[[ -f $deb ]] || { echo "FAIL: no $deb after the package build"; exit 1; }
echo "package: $deb"

# --- file list ---------------------------------------------------------------
dpkg-deb -c "$deb" | awk '{ print $1 " " $6 ($7 ? " " $7 " " $8 : "") }' >"$tmp/contents"
expected=(
  ./usr/bin/rasp
  ./usr/lib/tellivo-rasp/tellivo-rasp
  ./usr/lib/tellivo-rasp/rasp-metafile
  ./usr/share/applications/tellivo-rasp.desktop
  ./usr/share/metainfo/example.tellivo_rasp.TellivoRasp.metainfo.xml
  ./usr/share/icons/hicolor/scalable/apps/tellivo-rasp.svg
  ./usr/share/man/man1/rasp.1.gz
  ./usr/share/man/man1/tellivo-rasp.1.gz
  ./usr/share/bash-completion/completions/rasp
  ./usr/share/doc/tellivo-rasp/copyright
  ./usr/share/doc/tellivo-rasp/changelog.gz
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/tellivo-rasp.png")
done
for path in "${expected[@]}"; do
  grep -q "^-[^ ]* $path\$" "$tmp/contents" || fail "the package lacks $path"
done
grep -q '^l[^ ]* ./usr/bin/tellivo-rasp -> ../lib/tellivo-rasp/tellivo-rasp$' "$tmp/contents" ||
  fail "/usr/bin/tellivo-rasp is not a link to ../lib/tellivo-rasp/tellivo-rasp"
for path in ./usr/bin/rasp ./usr/lib/tellivo-rasp/tellivo-rasp ./usr/lib/tellivo-rasp/rasp-metafile; do
  grep -q "^-rwxr-xr-x $path\$" "$tmp/contents" || fail "$path is not an executable of mode 755"
done
# Everything else lies under /usr/share; nothing outside the three places.
stray=$(awk '{ print $2 }' "$tmp/contents" |
  grep -v -E '^\./(usr/?|usr/bin/.*|usr/lib/?|usr/lib/tellivo-rasp/.*|usr/share/.*)$' || true)
[[ -z $stray ]] || fail "unexpected paths in the package: $stray"
((failures == 0)) && ok "file list"

# --- control fields ----------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == tellivo-rasp ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)', not $version"
[[ $(field Architecture) == "$arch" ]] || fail "Architecture is '$(field Architecture)'"
[[ -n $(field Maintainer) ]] || fail "no Maintainer"
[[ $(field Section) == text ]] || fail "Section is '$(field Section)'"
depends=$(field Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 zlib1g; do
  [[ $depends == *"$lib "* || $depends == *"$lib," || $depends == "$lib" ]] ||
    fail "Depends lacks $lib (computed by dpkg-shlibdeps): $depends"
done
recommends=$(field Recommends)
for want in fonts-liberation fonts-urw-base35 libreoffice-writer-nogui; do
  [[ $recommends == *"$want"* ]] || fail "Recommends lacks $want: $recommends"
done
dpkg-deb -f "$deb" Description | sed -n 2p | grep -q 'Tellivo Rasp' || fail "no extended Description"
echo "Depends: $depends"
echo "Recommends: $recommends"

# --- unpacked ----------------------------------------------------------------
root=$tmp/root
dpkg -x "$deb" "$root" || { echo "FAIL: dpkg -x"; exit 1; }

desktop=$root/usr/share/applications/tellivo-rasp.desktop
if have desktop-file-validate; then
  out=$(desktop-file-validate "$desktop" 2>&1)
  rc=$?
  [[ -n $out ]] && echo "$out"
  if ((rc != 0)) || grep -q 'error:' <<<"$out"; then fail "desktop-file-validate"; else ok "desktop-file-validate"; fi
else
  skipped "desktop-file-validate is not installed (desktop-file-utils; tools/install-deps.sh installs it)"
fi
grep -qx 'Categories=Office;TextTools;' "$desktop" || fail "the desktop entry's categories are not Office;TextTools;"
grep -qx 'Icon=tellivo-rasp' "$desktop" || fail "the desktop entry names another icon"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[[ -L $root/usr/bin/$exec_name || -x $root/usr/bin/$exec_name ]] || fail "Exec=$exec_name is not in /usr/bin"

metainfo=$root/usr/share/metainfo/example.tellivo_rasp.TellivoRasp.metainfo.xml
if have appstreamcli; then
  if out=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1); then
    ok "appstreamcli validate"
  else
    echo "$out"
    fail "appstreamcli validate"
  fi
else
  skipped "appstreamcli is not installed (appstream; tools/install-deps.sh installs it)"
fi
# The screenshot it shows is a picture of the repository.
shot=$(sed -n 's|.*<image[^>]*>[^<]*/repository/\([^<]*\)</image>.*|\1|p' "$metainfo")
if [[ -z $shot ]]; then
  fail "the metainfo names no screenshot of the repository"
elif [[ $(head -c 8 "$src/$shot" 2>/dev/null | od -An -tx1 | tr -d ' \n') != 89504e470d0a1a0a ]]; then
  fail "the screenshot $shot is not a PNG picture of the repository"
fi

if have lintian; then
  lintian --tag-display-limit 0 "$deb" >"$tmp/lintian" 2>&1
  grep -v 'running with root privileges' "$tmp/lintian"
  if grep -q '^E:' "$tmp/lintian"; then fail "lintian reports errors"; else ok "lintian: no errors"; fi
else
  skipped "lintian is not installed (tools/install-deps.sh installs it)"
fi

if have man; then
  for page in rasp tellivo-rasp; do
    warnings=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "man $page: $warnings"
    MANWIDTH=80 man -l "$root/usr/share/man/man1/$page.1.gz" 2>/dev/null | grep -q '^EXIT STATUS' ||
      fail "man $page has no EXIT STATUS"
  done
else
  skipped "man is not installed: the manual pages are not rendered"
fi

# --- the installed rasp ------------------------------------------------------
rasp=$root/usr/bin/rasp
a=$src/samples/article1.txt
b=$src/samples/article2.txt
[[ $("$rasp" --version) == "rasp (Tellivo Rasp) $version" ]] || fail "rasp --version: $("$rasp" --version)"
"$rasp" help compare | grep -q -- '--color' || fail "rasp help compare does not tell of --color"
[[ $("$rasp" compare --help) == "$("$rasp" help compare)" ]] || fail "rasp compare --help differs from rasp help compare"
"$rasp" compare "$a" >/dev/null 2>&1
(($? == 2)) || fail "rasp compare with one file does not exit with 2"
plain=$("$rasp" compare "$a" "$b" --min 3)
[[ $(head -n 1 <<<"$plain") =~ ^Duplicate\ Content:\ [0-9]+%$ ]] || fail "rasp compare: $plain"
colored=$("$rasp" compare "$a" "$b" --min 3 --color=always)
[[ $colored == *$'\e[1;30;48;'* && $colored == *$'\e[0m'* ]] || fail "--color=always gives no colour codes"
[[ $colored == *$'\n'"$plain" ]] || fail "--color=always does not end with the percentage and figures"
[[ $(NO_COLOR=1 "$rasp" compare "$a" "$b" --min 3) == "$plain" ]] || fail "NO_COLOR with a pipe"
if have script; then
  # On a real terminal (script gives one) auto colours unless NO_COLOR is set.
  on_tty=$(TERM=xterm script -qec "'$rasp' compare '$a' '$b' --min 3" /dev/null)
  [[ $on_tty == *$'\e[1;30;48;'* ]] || fail "--color=auto gives no colour on a terminal"
  on_tty=$(NO_COLOR=1 TERM=xterm script -qec "'$rasp' compare '$a' '$b' --min 3" /dev/null)
  [[ $on_tty != *$'\e'* ]] || fail "NO_COLOR does not switch the colour off on a terminal"
else
  skipped "script is not installed: --color=auto on a terminal is not tried"
fi
if [[ -f /usr/share/bash-completion/bash_completion ]]; then
  completion=$(bash -c "source /usr/share/bash-completion/bash_completion
    source '$root/usr/share/bash-completion/completions/rasp'
    COMP_WORDS=(rasp compare a b --u); COMP_CWORD=4; COMP_LINE='rasp compare a b --u'; COMP_POINT=\${#COMP_LINE}
    _rasp; echo \"\${COMPREPLY[*]}\"
    COMP_WORDS=(rasp h); COMP_CWORD=1; COMP_LINE='rasp h'; COMP_POINT=6
    _rasp; echo \"\${COMPREPLY[*]}\"" 2>&1)
  [[ $completion == $'--unit\nhelp' ]] || fail "bash completion: $completion"
else
  skipped "bash-completion is not installed: the completion is not tried"
fi

# --- the installed window, read-only program folder ---------------------------
program=$root/usr/lib/tellivo-rasp
home=$tmp/home
mkdir -p "$home/cache" "$home/state"
chmod 755 "$tmp"
chmod 555 "$program"
listing() { (cd "$program" && ls -la --time-style=full-iso); }
before=$(listing)

run_window=()
if (($(id -u) == 0)); then
  # root may write anywhere: the window runs as nobody, and without a network.
  chown -R 65534:65534 "$home"
  if unshare -n true 2>/dev/null && have setpriv; then
    run_window=(unshare -n -- setpriv --reuid=65534 --regid=65534 --clear-groups --)
  fi
elif unshare --map-current-user -n true 2>/dev/null; then
  run_window=(unshare --map-current-user -n --)
fi

if ((${#run_window[@]} == 0)); then
  skipped "no network namespace to be had: the installed window is not started (it would look up the update host)"
else
  "${run_window[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_CACHE_HOME="$home/cache" \
    XDG_STATE_HOME="$home/state" XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=offscreen \
    timeout -s TERM 5 "$root/usr/bin/tellivo-rasp" >"$tmp/window.log" 2>&1
  rc=$?
  # 124: still running when the time was up, as a window should be.
  if ((rc != 124)); then
    cat "$tmp/window.log"
    fail "the installed window ended by itself with status $rc"
  fi
  [[ $(listing) == "$before" ]] || fail "the window wrote into its read-only program folder"
  [[ -d $home/cache/tellivo-rasp ]] || fail "the update check made no folder in \$XDG_CACHE_HOME/tellivo-rasp/"
  [[ -z $(ls -A "$home/state") ]] || fail "the window wrote into \$XDG_STATE_HOME without a crash"
  ((rc == 124)) && ok "installed window ran with a read-only program folder"
fi

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package test passed"
