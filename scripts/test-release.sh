#!/usr/bin/env bash
# The release under Wine, as a Windows user meets it, with a profile folder holding ( ) & ^ !
# and spaces: setup.exe installs silently, upgrades in place, refuses while an add-in is loaded,
# puts the previous installation back when an upgrade fails, and its quiet uninstall leaves
# nothing but the user's settings, or, when an unregistration fails, removes nothing; the zip's
# install.cmd works from a folder with awkward characters and refuses from a temporary one, and
# its uninstall.cmd removes setup's entry too; registration keeps what the other bitness and
# another copy need, cleans up after a deleted folder, and works from a long path. Run on every
# machine, with a stand-in for the 32-bit regsvr32: uninstall.cmd's failures; a zip install
# uninstalled after its extracted folder is gone; setup.nsi built as a 64-bit setup.exe, whose
# uninstaller Apps & features runs (its exit codes, nothing left behind); unregistration through
# other names of the file and beside a type library registered for everyone. The rest runs 32-bit
# programs (the shipped setup.exe and the 32-bit regsvr32) and is skipped where this machine
# cannot.
# First scripts/test-release-trust.sh builds the release again from two
# clean clones and signed; the signed setup.exe is then installed here too.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# The version as the project states it: setup's Apps & features entry must show the same.
version=$(sed -n 's/^project(EditorAddins .*VERSION \([0-9][0-9.]*\)).*/\1/p' CMakeLists.txt)
name=QuillonLathmore-$version
folder=build/release/$name
setup=build/release/$name-setup.exe
[ -f "$setup" ] || bash scripts/release.sh >/dev/null
# What the tests write stays out of the release folder.
scratch=$root/build/release-test
rm -rf "$scratch"
mkdir -p "$scratch"

source scripts/checks.sh
skipped=0
summary() {
  echo "release: $passed passed, $failed failed, $skipped skipped"
  [ "$failed" -eq 0 ]
}

for dll in "$folder"/x64/*.dll "$folder"/x86/*.dll; do
  objdump=x86_64-w64-mingw32-objdump
  [[ $dll == */x86/* ]] && objdump=i686-w64-mingw32-objdump
  check "$dll imports only system DLLs" bash scripts/check-imports.sh "$objdump" "$dll"
done
echo "two clean clones, checksums, the version, signing (scripts/test-release-trust.sh):"
if bash scripts/test-release-trust.sh; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
  echo "FAILED: scripts/test-release-trust.sh"
fi
signed=build/release-trust/signed
# A new prefix each run: what an earlier run left must not pass for this one's work.
export WINEPREFIX="$scratch/wineprefix"
rm -rf "$WINEPREFIX"
bash scripts/wine-prefix.sh start "$WINEPREFIX"
trap 'bash scripts/wine-prefix.sh stop "$WINEPREFIX"' EXIT
wine() { "$root/scripts/wine" "$@" </dev/null; }
unix() { wine winepath -u "$1" | tr -d '\r'; }
drive_c=$WINEPREFIX/drive_c
# A profile folder such as "Smith (IT)", and worse: Wine takes LOCALAPPDATA from the user's shell
# folders and TEMP from the user's environment, each read anew when Wine restarts.
profile='C:\users\Smith (IT) & ^Co!'
for variable in TEMP TMP; do
  wine reg add 'HKCU\Environment' /v "$variable" /d "$profile\Temp" /f /reg:64 >/dev/null
done
mkdir -p "$drive_c/users/Smith (IT) & ^Co!/Temp" "$drive_c/users/Smith (IT) & ^Co!/AppData/Local"
# The user's local application data folder, and where the add-ins are installed in it.
use_local_appdata() {  # folder in Windows form
  wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' \
    /v 'Local AppData' /t REG_EXPAND_SZ /d "$1" /f /reg:64 >/dev/null
  wine wineboot -r >/dev/null 2>&1
  local_appdata=$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')
  # Taken from the folder given, not from what Wine prints: its console output keeps only the
  # characters of the console's code page.
  installed_win="$1\\Programs\\QuillonLathmore"
  installed=$drive_c/$(sed 's/^C:.//; s|\\|/|g' <<<"$installed_win")
  mkdir -p "$(dirname "$installed")"
}
use_local_appdata "$profile\AppData\Local"
temporary=$(unix "$(wine cmd /c echo %TEMP% | tr -d '\r')")

vbe='HKCU\Software\Microsoft\VBA\VBE\6.0'
classes='HKCU\Software\Classes'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuillonLathmore'
settings='HKCU\Software\VB and VBA Program Settings\Razurid\Quillon'
progids=(Quillon.dsrQuillon Vodavove.Connect)
clsids=('{FFAAD1C9-3796-4A55-8BDB-D15800F089F6}' '{0F1C8538-EB88-4CBC-B3AD-765D2584B7C7}')
# Every GUID the two DLLs register: classes, interfaces, type libraries.
guids=($(grep -ho 'uuid([0-9A-Fa-f-]*)' quillon/win/*.idl lathmore/win/*.idl | sed 's/uuid(\(.*\))/{\1}/'))
files=(x64/Quillon.dll x64/Lathmore.dll x86/Quillon.dll x86/Lathmore.dll README.txt LICENSE.txt CHANGELOG.txt)

key() { wine reg query "$1" "/reg:$2"; }
value_is() { wine reg query "$1" /v "$2" "/reg:$3" | tr -d '\r' | grep -Eq "^ +$2 +$4\$"; }
# Both add-ins registered for the user, for 64- and 32-bit Office, or (views 64) for 64-bit only.
check_registered() {  # when [, views]
  local when=$1 views=${2:-64 32} p c
  for p in "${progids[@]}"; do
    check "$when: $vbe\\Addins64\\$p" key "$vbe\\Addins64\\$p" 64
    [ "$views" = 64 ] || check "$when: $vbe\\Addins\\$p" key "$vbe\\Addins\\$p" 32
    for view in $views; do
      local k="$vbe\\Addins64\\$p"
      [ $view = 32 ] && k="$vbe\\Addins\\$p"
      check "$when: $k LoadBehavior is REG_DWORD 1" value_is "$k" LoadBehavior $view "REG_DWORD +0x1"
      check "$when: $k CommandLineSafe is REG_DWORD 0" value_is "$k" CommandLineSafe $view "REG_DWORD +0x0"
    done
    check "$when: $classes\\$p" key "$classes\\$p" 64
  done
  for c in "${clsids[@]}"; do
    for view in $views; do
      check "$when: $classes\\CLSID\\$c ($view-bit view)" key "$classes\\CLSID\\$c" $view
    done
  done
}
# Every key of ours still there, in either view, per user or (Wine's type libraries) per machine.
keys_left() {
  local view pattern
  pattern=$(printf '%s\n' "${progids[@]}" "${guids[@]}" | sed 's/[.{}]/\\&/g' | paste -sd'|')
  for view in 64 32; do
    for k in "$classes" 'HKCU\Software\Microsoft\VBA' 'HKLM\Software\Classes\TypeLib' \
             'HKLM\Software\Classes\Interface'; do
      wine reg query "$k" /s "/reg:$view" 2>/dev/null | tr -d '\r' | grep '^HKEY' | grep -Ei "$pattern" |
        sed "s/\$/ ($view-bit view)/" || true
    done
  done
}
check_no_keys_left() {  # when
  local left
  left=$(keys_left)
  check "$1: no key of ours is left${left:+: }$(head -n 3 <<<"$left" | paste -sd' ')" test -z "$left"
}
snapshot() {
  local view
  for view in 64 32; do
    wine reg query "$classes" /s "/reg:$view" || true
    wine reg query 'HKCU\Software\Microsoft\VBA' /s "/reg:$view" || true
    wine reg query 'HKLM\Software\Classes\TypeLib' /s "/reg:$view" || true
  done
  wine reg query "$uninstall_key" /s /reg:64 || true
  (cd "$installed" 2>/dev/null && md5sum "${files[@]}" $(ls uninstall.exe 2>/dev/null)) || true
}
# Runs a program, shows what it said, and checks its exit code.
expect_exit() {  # expected code, description, command...
  local expected=$1 what=$2 output code=0
  shift 2
  output=$("$@" 2>&1) || code=$?
  printf '%s\n' "$output" | tr -d '\r' | grep -v '^$' | grep -v 'Press any key' | sed 's/^/  /' || true
  check "$what exits $expected (it exited $code)" test "$code" -eq "$expected"
  last_output=$output
}
# The sandbox loads the add-ins from `dir` (the install folder when none is given).
sandbox_loads() {  # bitness, description [, folder in Windows form]
  local arch=$1 script=$scratch/loads.scn
  local content
  content=$(<"$root/scenarios/release/installed.scn")
  [ -n "${3:-}" ] && content=${content//'%LOCALAPPDATA%\Programs\QuillonLathmore\${ARCH}'/$3}
  printf '%s\n' "$content" >"$script"
  expect_exit 0 "$2" wine "$root/build/$arch/bin/sandbox.exe" "$(wine winepath -w "$script" | tr -d '\r')"
}
# A script of the zip, started in its own folder as a double-click starts it.
in_folder() {  # folder, script
  (cd "$1" && "$root/scripts/wine" cmd /c "$2" </dev/null)
}
wait_gone() {  # what goes once the uninstaller (or uninstall.cmd) has ended, a few seconds later
  local i
  for i in $(seq 1 60); do
    [ -e "$1" ] || return 0
    sleep 0.5
  done
  return 1
}
# The temporary folder as it was before, once what an uninstaller left there to go has gone.
temporary_is() {  # listing
  local i
  for i in $(seq 1 60); do
    [ "$(ls -A "$temporary")" = "$1" ] && return 0
    sleep 0.5
  done
  echo "  the temporary folder holds: $(ls -A "$temporary" | paste -sd' ')"
  return 1
}
# A command of the Apps & features entry, run as Apps & features and deployment tools run it.
run_stored() {  # UninstallString or QuietUninstallString
  wine "$root/build/x64/bin/run_stored_command.exe" "${uninstall_key#HKCU\\}" "$1"
}
# The Apps & features entry: its name, version, publisher and folder, and (for setup's) its size
# and that its uninstaller runs in place, so that its exit code reaches the caller.
check_entry() {  # folder in Windows form, setup or zip
  local where
  where=$(sed 's/[][\\.*^$()+?{}|]/\\&/g' <<<"$1")
  check "Apps & features: name" value_is "$uninstall_key" DisplayName 64 "REG_SZ +Quillon and Lathmore \\(VBA editor add-ins\\)"
  check "Apps & features: version" value_is "$uninstall_key" DisplayVersion 64 "REG_SZ +$version"
  check "Apps & features: publisher" value_is "$uninstall_key" Publisher 64 "REG_SZ +Razurid"
  check "Apps & features: location" value_is "$uninstall_key" InstallLocation 64 "REG_SZ +$where"
  if [ "$2" = setup ]; then
    check "Apps & features: size" value_is "$uninstall_key" EstimatedSize 64 "REG_DWORD +0x[0-9a-f]+"
    check "Apps & features: uninstall" value_is "$uninstall_key" UninstallString 64 "REG_SZ +\"$where\\\\uninstall.exe\" _\\?=$where"
    check "Apps & features: quiet uninstall" value_is "$uninstall_key" QuietUninstallString 64 "REG_SZ +\"$where\\\\uninstall.exe\" /S _\\?=$where"
  else
    # The usual folder through %LOCALAPPDATA%, which cmd expands when it runs the command; Wine's
    # cmd has already expanded it when it wrote the entry.
    local script="\"\"(%LOCALAPPDATA%\\\\Programs\\\\QuillonLathmore|$where)\\\\uninstall.cmd\""
    check "Apps & features: uninstall" value_is "$uninstall_key" UninstallString 64 "REG_SZ +\".*\\\\cmd.exe\" /d /v:off /s /c $script\""
    check "Apps & features: quiet uninstall" value_is "$uninstall_key" QuietUninstallString 64 "REG_SZ +\".*\\\\cmd.exe\" /d /v:off /s /c $script /S\""
  fi
}
no_entry() { ! "$root/scripts/wine" reg query "$uninstall_key" /reg:64 </dev/null >/dev/null 2>&1; }
# The zip extracted into C:\Zip, afresh.
extract_zip() {
  rm -rf "$zip"
  mkdir -p "$zip"
  cp -r "$folder/." "$zip/"
}

for arch in x64 x86; do
  [ -f "build/$arch/bin/sandbox.exe" ] && [ -f "build/$arch/bin/regsvr32_stand_in.exe" ] &&
    [ -f "build/$arch/bin/run_stored_command.exe" ] && [ -f "build/$arch/bin/ping_stand_in.exe" ] ||
    { cmake --preset "$arch" >/dev/null && cmake --build --preset "$arch" >/dev/null; }
done

# The 64-bit sandbox holds the add-ins of the install folder loaded for six seconds, in the
# background (its process: holder).
hold_addins() {
  local hold=$scratch/hold.scn i
  : >"$scratch/hold.log"
  { head -n 9 scenarios/release/installed.scn; echo "wait 6000"; } >"$hold"
  "$root/scripts/wine" "$root/build/x64/bin/sandbox.exe" "$(wine winepath -w "$hold" | tr -d '\r')" \
    </dev/null >"$scratch/hold.log" 2>&1 &
  holder=$!
  for i in $(seq 1 40); do grep -q '^> wait' "$scratch/hold.log" && break; sleep 0.25; done
}

# The zip's uninstall.cmd when it cannot unregister an add-in. The 32-bit regsvr32 is a stand-in
# here, which runs where no 32-bit program does and fails for a file that is not a 32-bit DLL, as
# regsvr32 does; so this part runs on every machine. Wine's own, where this prefix has one (not
# where Wine cannot run 32-bit programs), is put back after it.
echo "uninstall.cmd when an unregistration fails or an add-in is loaded:"
wow64=$drive_c/windows/syswow64
mkdir -p "$wow64"
stand_in_log=$wow64/regsvr32.log
rm -f "$scratch/regsvr32-of-wine.exe"
[ ! -f "$wow64/regsvr32.exe" ] || cp "$wow64/regsvr32.exe" "$scratch/regsvr32-of-wine.exe"
use_stand_in() { cp "$root/build/x64/bin/regsvr32_stand_in.exe" "$wow64/regsvr32.exe"; }
use_stand_in
# ping, with which the uninstallers' clean-up waits; a test can hold it (see below).
cp "$root/build/x64/bin/ping_stand_in.exe" "$drive_c/windows/system32/ping.exe"
wine reg add 'HKCU\Software\Wine\DllOverrides' /v ping.exe /d native /f /reg:64 >/dev/null
zip=$drive_c/Zip
rm -f "$stand_in_log"
extract_zip
expect_exit 0 "install.cmd" in_folder "$zip" install.cmd
check_registered "after install.cmd" 64
check "the 32-bit DLLs were registered by the 32-bit regsvr32" \
  test "$(grep -c '^register .*\\x86\\' "$stand_in_log")" -eq 2
# Each failing uninstall: what it says, and nothing lost.
failed_uninstall() {  # what fails, what it must say
  expect_exit 2 "uninstall.cmd, $1" in_folder "$zip" uninstall.cmd
  check "it says: $2" grep -qF "$2" <<<"$last_output"
  check "it says that nothing was removed, and not Done" \
    bash -c 'grep -q "^Nothing was removed" <<<"$1" && ! grep -q "^Done" <<<"$1"' _ "$(tr -d '\r' <<<"$last_output")"
  for f in "${files[@]}"; do check "after it: $f kept" test -f "$installed/$f"; done
  check_registered "after it (what it unregistered is registered again)" 64
}
damage() { printf 'not a DLL' >"$installed/$1"; }
put_right() { cp "$folder/$1" "$installed/$1"; }
damage x64/Lathmore.dll
failed_uninstall "x64\\Lathmore.dll damaged" "Unregistering Lathmore for 64-bit Office: FAILED"
check "it stopped there: the 32-bit DLLs were not touched" \
  test "$(grep -c '^unregister' "$stand_in_log")" -eq 0
check "it registered Quillon again" grep -q "Registering again Quillon for 64-bit Office: done" <<<"$last_output"
put_right x64/Lathmore.dll
damage x86/Lathmore.dll
failed_uninstall "x86\\Lathmore.dll damaged" "Unregistering Lathmore for 32-bit Office: FAILED"
check "it registered the 32-bit Quillon again" \
  test "$(tail -n 2 "$stand_in_log" | tr -d '\r' | sed 's/ .*\\/ /' | paste -sd' ')" = "unregister Quillon.dll register Quillon.dll"
sandbox_loads x64 "after it the 64-bit sandbox loads both add-ins"
put_right x86/Lathmore.dll
rm "$wow64/regsvr32.exe"
failed_uninstall "no 32-bit regsvr32" 'Unregistering Quillon for 32-bit Office: FAILED (there is no C:\windows\SysWOW64\regsvr32.exe)'
use_stand_in
before=$(snapshot)
hold_addins
expect_exit 3 "uninstall.cmd while the editor has the add-ins loaded" in_folder "$zip" uninstall.cmd
check "it says why" grep -q "an Office application is using the add-ins" <<<"$last_output"
# Compared once the sandbox has ended: while it runs, what it writes for itself is in the registry.
wait "$holder" || true
check "nothing changed while an add-in was in use" test "$(snapshot)" == "$before"
expect_exit 0 "uninstall.cmd" in_folder "$zip" uninstall.cmd
check "it says Done" grep -q "^Done" <<<"$(tr -d '\r' <<<"$last_output")"
check "the install folder is gone" test ! -e "$installed"
check "nothing of it is left in the temporary folder" bash -c '! ls "$1" | grep -qi quillon' _ "$temporary"
check_no_keys_left "after uninstall.cmd"
check "the 32-bit DLLs were unregistered by the 32-bit regsvr32" \
  test "$(tail -n 2 "$stand_in_log" | grep -c '^unregister .*\\x86\\')" -eq 2

# setup.exe /D= installs where the user chooses and says so in its Apps & features entry: the
# zip's scripts install over it and uninstall it there, and remove no file of the user's.
echo "install.cmd and uninstall.cmd where setup's entry says the add-ins are:"
chosen=$drive_c/Tools/QL
rm -rf "$chosen" "$zip"
mkdir -p "$chosen/x64" "$zip"
printf 'mine\r\n' >"$chosen/notes.txt"
printf 'mine too\r\n' >"$chosen/x64/settings.ini"
cp -r "$folder/." "$zip/"
wine reg add "$uninstall_key" /v InstallLocation /d 'C:\Tools\QL' /f /reg:64 >/dev/null
expect_exit 0 "install.cmd" in_folder "$zip" install.cmd
for f in "${files[@]}"; do check "$f installed in C:\\Tools\\QL" test -f "$chosen/$f"; done
check "nothing in the usual folder" test ! -e "$installed"
sandbox_loads x64 "the 64-bit sandbox loads both add-ins from there" 'C:\Tools\QL\x64'
expect_exit 0 "uninstall.cmd" in_folder "$zip" uninstall.cmd
check "the user's own files there are kept" test -f "$chosen/notes.txt" -a -f "$chosen/x64/settings.ini"
check "nothing else of the add-ins is left there" \
  test "$(cd "$chosen" && find . -type f | sort | paste -sd' ')" = "./notes.txt ./x64/settings.ini"
check "it says the folder was kept" grep -q "^Kept C:.Tools.QL" <<<"$(tr -d '\r' <<<"$last_output")"
check "the Apps & features entry is gone" no_entry
check_no_keys_left "after uninstalling from C:\\Tools\\QL"

# A zip install keeps a way to uninstall once its extracted folder is gone: its own uninstall.cmd
# in the install folder, which its Apps & features entry runs too.
echo "a zip install, its extracted folder deleted, uninstalled from Apps & features and by its installed uninstall.cmd:"
zip_install() {
  extract_zip
  expect_exit 0 "install.cmd" in_folder "$zip" install.cmd
  rm -rf "$zip"
}
temporary_before=$(ls -A "$temporary")
zip_install
for f in uninstall.cmd addins.cmd; do check "$f installed beside the add-ins" test -f "$installed/$f"; done
check_entry "$installed_win" zip
# The commands as cmd on Windows writes them: the folder as %LOCALAPPDATA%, which Wine's cmd has
# already expanded.
zip_command='"C:\windows\system32\cmd.exe" /d /v:off /s /c ""%LOCALAPPDATA%\Programs\QuillonLathmore\uninstall.cmd"'
wine reg add "$uninstall_key" /v UninstallString /d "$zip_command\"" /f /reg:64 >/dev/null
wine reg add "$uninstall_key" /v QuietUninstallString /d "$zip_command /S\"" /f /reg:64 >/dev/null
hold_addins
before=$(snapshot)
expect_exit 3 "the quiet uninstall from Apps & features while the editor has the add-ins loaded" run_stored QuietUninstallString
wait "$holder" || true
check "nothing changed while an add-in was in use" test "$(snapshot)" == "$before"
damage x64/Lathmore.dll
expect_exit 2 "the quiet uninstall from Apps & features, x64\\Lathmore.dll damaged" run_stored QuietUninstallString
for f in "${files[@]}" uninstall.cmd addins.cmd; do check "after it: $f kept" test -f "$installed/$f"; done
check_registered "after it (what it unregistered is registered again)" 64
check "after it the Apps & features entry is kept" value_is "$uninstall_key" DisplayVersion 64 "REG_SZ +$version"
put_right x64/Lathmore.dll
expect_exit 0 "the quiet uninstall from Apps & features" run_stored QuietUninstallString
check "it says Done" grep -q "^Done" <<<"$(tr -d '\r' <<<"$last_output")"
check "the install folder is gone, uninstall.cmd with it" wait_gone "$installed"
check "the Apps & features entry is gone" no_entry
check_no_keys_left "after the quiet uninstall of the zip install"
check "nothing is left in the temporary folder" temporary_is "$temporary_before"
zip_install
printf 'mine\r\n' >"$installed/notes.txt"
expect_exit 0 "the installed uninstall.cmd, as a double-click starts it" in_folder "$installed" uninstall.cmd
check "it says the folder was kept for the user's file" grep -q "^Kept .*QuillonLathmore, which holds other files" <<<"$(tr -d '\r' <<<"$last_output")"
check "the installed scripts are gone" wait_gone "$installed/uninstall.cmd"
check "only the user's file is left there" test "$(ls -A "$installed" | paste -sd' ')" = "notes.txt"
rm -rf "$installed"
zip_install
expect_exit 0 "the uninstall from Apps & features (UninstallString)" run_stored UninstallString
check "the install folder is gone" wait_gone "$installed"
check_no_keys_left "after the uninstall of the zip install"
check "the Apps & features entry is gone" no_entry
# Deployment tools upgrade by uninstalling and installing again at once: what the uninstall
# removes once it has ended must not be what the new installation put there. The clean-up's ping
# is held until the add-ins are back, as an installation's first files.
ping_hold=$drive_c/windows/system32/ping.hold
reinstalled_at_once() {  # what must stay
  local code=0
  : >"$ping_hold"
  # Not through a pipe, which the clean-up would hold open until it has run.
  run_stored QuietUninstallString >/dev/null 2>&1 || code=$?
  check "the quiet uninstall from Apps & features exits 0 (it exited $code)" test "$code" -eq 0
  mkdir -p "$installed/x64"
  cp "$folder/x64/Quillon.dll" "$installed/x64/"
  rm "$ping_hold"
  sleep 5
  check "an installation made again at once keeps $1" test -f "$installed/$1"
  rm -rf "$installed"
}
zip_install
reinstalled_at_once uninstall.cmd

# The uninstaller that Apps & features starts: setup.nsi built as a 64-bit setup.exe, not
# shipped, so that it runs where no 32-bit program does. The shipped one is tried further down
# where 32-bit programs run.
echo "setup.exe built for 64-bit Windows, and its uninstaller as Apps & features starts it:"
setup64=$scratch/setup64.exe
makensis -V2 -DAMD64 -DVERSION="$version" -DVERSION_QUAD="$version.0.0" -DSOURCE="$root/$folder" \
  -DOUTFILE="$setup64" release/setup.nsi >"$scratch/setup64.log" 2>&1
expect_exit 0 "setup.exe /S" wine "$setup64" /S
check_registered "after setup" 64
check_entry "$installed_win" setup
hold_addins
before=$(snapshot)
expect_exit 3 "the quiet uninstall while the editor has the add-ins loaded" run_stored QuietUninstallString
wait "$holder" || true
check "nothing changed while an add-in was in use" test "$(snapshot)" == "$before"
damage x64/Lathmore.dll
expect_exit 2 "the quiet uninstall, x64\\Lathmore.dll damaged" run_stored QuietUninstallString
for f in "${files[@]}" uninstall.exe; do check "after it: $f kept" test -f "$installed/$f"; done
check_registered "after it (what it unregistered is registered again)" 64
check_entry "$installed_win" setup
put_right x64/Lathmore.dll
wine reg add "$settings" /v Left /d 61 /f /reg:64 >/dev/null
expect_exit 0 "the quiet uninstall" run_stored QuietUninstallString
check "the install folder is gone, uninstall.exe with it" wait_gone "$installed"
check "the Apps & features entry is gone" no_entry
check_no_keys_left "after the quiet uninstall"
check "the toolbar places are kept" value_is "$settings" Left 64 "REG_SZ +61"
check "nothing is left in the temporary folder" temporary_is "$temporary_before"
expect_exit 0 "setup.exe /S" wine "$setup64" /S
reinstalled_at_once uninstall.exe
expect_exit 0 "setup.exe /S" wine "$setup64" /S
# Started without _?= (a double-click on uninstall.exe), the uninstaller ends at once with 0 and a
# copy of it in the temporary folder does the work: that copy goes too, whatever its result.
damage x64/Lathmore.dll
expect_exit 0 "uninstall.exe /S, without _?=" wine "$installed/uninstall.exe" /S
check "its copy in the temporary folder is gone once it has failed" temporary_is "$temporary_before"
for f in "${files[@]}" uninstall.exe; do check "after it: $f kept" test -f "$installed/$f"; done
put_right x64/Lathmore.dll
expect_exit 0 "uninstall.exe /S, without _?=" wine "$installed/uninstall.exe" /S
check "the install folder is gone" wait_gone "$installed"
check "its copy in the temporary folder is gone too" temporary_is "$temporary_before"
echo "setup.exe /S /D=, then uninstall.cmd; install.cmd over setup.exe, then uninstalled:"
rm -rf "$chosen"
expect_exit 0 "setup.exe /S /D=C:\\Tools\\QL" wine "$setup64" /S '/D=C:\Tools\QL'
check_entry 'C:\Tools\QL' setup
extract_zip
expect_exit 0 "the extracted zip's uninstall.cmd" in_folder "$zip" uninstall.cmd
check "C:\\Tools\\QL is gone" test ! -e "$chosen"
check "the Apps & features entry is gone" no_entry
check_no_keys_left "after uninstall.cmd over setup.exe /D="
expect_exit 0 "setup.exe /S /D=C:\\Tools\\QL" wine "$setup64" /S '/D=C:\Tools\QL'
zip_install
check "install.cmd installed into C:\\Tools\\QL" test -f "$chosen/uninstall.cmd"
check "setup's entry for C:\\Tools\\QL stays setup's" value_is "$uninstall_key" QuietUninstallString 64 'REG_SZ +"C:\\Tools\\QL\\uninstall.exe" /S _\?=C:\\Tools\\QL'
expect_exit 0 "setup's quiet uninstall" run_stored QuietUninstallString
check "C:\\Tools\\QL is gone, the zip's scripts with it" wait_gone "$chosen"
check_no_keys_left "after setup's uninstaller over install.cmd"
expect_exit 0 "setup.exe /S" wine "$setup64" /S
zip_install
check_entry "$installed_win" zip
expect_exit 0 "the quiet uninstall of install.cmd over setup.exe" run_stored QuietUninstallString
check "the install folder is gone, setup's uninstall.exe with it" wait_gone "$installed"
check_no_keys_left "after uninstalling install.cmd over setup.exe"
# A user folder with characters that the console's code page lacks: the scripts read the entry's
# folder back through reg's text, which loses them.
echo "install.cmd and setup.exe for a user whose folder has characters outside the console's code page:"
use_local_appdata 'C:\users\Łukasz 日本\AppData\Local'
zip_install
check "install.cmd installed there" test -f "$installed/uninstall.cmd"
check "its entry says it is the usual folder" value_is "$uninstall_key" InUsualFolder 64 "REG_DWORD +0x1"
expect_exit 0 "the quiet uninstall from Apps & features" run_stored QuietUninstallString
check "the install folder is gone" wait_gone "$installed"
check "the Apps & features entry is gone" no_entry
expect_exit 0 "setup.exe /S" wine "$setup64" /S
check "setup.exe installed there" test -f "$installed/uninstall.exe"
check "its entry says it is the usual folder" value_is "$uninstall_key" InUsualFolder 64 "REG_DWORD +0x1"
extract_zip
expect_exit 0 "the extracted zip's uninstall.cmd" in_folder "$zip" uninstall.cmd
check "the install folder is gone" test ! -e "$installed"
check "the Apps & features entry is gone" no_entry
check_no_keys_left "after the uninstalls for that user"
use_local_appdata "$profile\AppData\Local"

rm "$wow64/regsvr32.exe"
[ ! -f "$scratch/regsvr32-of-wine.exe" ] || cp "$scratch/regsvr32-of-wine.exe" "$wow64/regsvr32.exe"

regsvr() {  # bitness, then arguments
  local exe='C:\windows\system32\regsvr32.exe'
  [ "$1" = 32 ] && exe='C:\windows\syswow64\regsvr32.exe'
  shift
  wine "$exe" /s "$@"
}

# What the registry names is one spelling of the file; regsvr32 may be given another. Wine shows
# a folder link (a junction or symbolic link on Windows) as a plain folder.
echo "regsvr32 /u through the 8.3 name and through a linked folder:"
spelled="$drive_c/Long folder name"
rm -rf "$spelled" "$drive_c/Linked"
mkdir -p "$spelled"
cp -r "$folder/x64" "$spelled/"
ln -s "$spelled" "$drive_c/Linked"
printf '@echo %%~s1\r\n' >"$drive_c/short-name.cmd"
for dll in Quillon Lathmore; do
  long_name="C:\\Long folder name\\x64\\$dll.dll"
  check "regsvr32 $long_name" regsvr 64 "$long_name"
  short=$(wine cmd /c 'C:\short-name.cmd' "$long_name" | tr -d '\r')
  check "its 8.3 name ($short) is another spelling" test "${short^^}" != "${long_name^^}"
  check "regsvr32 /u through the 8.3 name" regsvr 64 /u "$short"
done
check_no_keys_left "after unregistering through the 8.3 names"
for dll in Quillon Lathmore; do
  check "regsvr32 $dll.dll" regsvr 64 "C:\\Long folder name\\x64\\$dll.dll"
  check "regsvr32 /u through C:\\Linked" regsvr 64 /u "C:\\Linked\\x64\\$dll.dll"
done
check_no_keys_left "after unregistering through the linked folder"
rm -rf "$spelled" "$drive_c/Linked" "$drive_c/short-name.cmd"

# Wine registers a type library for everyone even when asked per user; Windows never does, and
# there such keys are an installation's for everyone, which unregistering the user's copy, run
# as administrator or not, must leave alone.
echo "regsvr32 /u of the user's copy beside a type library registered for everyone elsewhere:"
typelib='HKLM\Software\Classes\TypeLib\{2F9B5B72-5723-4233-953F-7DF81C5F442E}\1.0\0\win64'
rm -rf "$drive_c/Everyone" "$drive_c/Mine"
for copy in Everyone Mine; do mkdir -p "$drive_c/$copy" && cp -r "$folder/x64" "$drive_c/$copy/"; done
check "regsvr32 Mine\\x64\\Quillon.dll" regsvr 64 'C:\Mine\x64\Quillon.dll'
wine reg add "$typelib" /ve /d 'C:\Everyone\x64\Quillon.dll' /f /reg:64 >/dev/null
interfaces_for_everyone=$(wine reg query 'HKLM\Software\Classes\Interface' /s /reg:64 | tr -d '\r' | grep -c '^HKEY' || true)
check "regsvr32 /u Mine\\x64\\Quillon.dll" regsvr 64 /u 'C:\Mine\x64\Quillon.dll'
check "the type library for everyone still names its file" \
  bash -c "\"$root/scripts/wine\" reg query '$typelib' /ve /reg:64 </dev/null | grep -qF 'C:\Everyone\x64\Quillon.dll'"
check "the interface keys for everyone are kept" test \
  "$(wine reg query 'HKLM\Software\Classes\Interface' /s /reg:64 | tr -d '\r' | grep -c '^HKEY' || true)" -eq "$interfaces_for_everyone"
check "the user's add-in key is gone" bash -c "! \"$root/scripts/wine\" reg query '$vbe\\Addins64\\Quillon.dsrQuillon' /reg:64 </dev/null"
check "regsvr32 /u Everyone\\x64\\Quillon.dll" regsvr 64 /u 'C:\Everyone\x64\Quillon.dll'
check_no_keys_left "after unregistering the copy for everyone too"
rm -rf "$drive_c/Everyone" "$drive_c/Mine"

if reason=$(scripts/wine --why-no-x86); then
  echo "skipped: setup.exe and registration by the 32-bit regsvr32 under Wine, which run 32-bit programs: $reason"
  skipped=$((skipped + 1))
  summary
  exit
fi

echo "setup.exe /S:"
expect_exit 0 "setup.exe /S" wine "$root/$setup" /S
check_registered "after setup"
for f in "${files[@]}" uninstall.exe; do check "after setup: $f installed" test -f "$installed/$f"; done
check_entry "$installed_win" setup
sandbox_loads x64 "the 64-bit sandbox loads both add-ins from the install folder"
sandbox_loads x86 "the 32-bit sandbox loads both add-ins from the install folder"

echo "setup.exe /S again, over the same version:"
before=$(snapshot)
expect_exit 0 "setup.exe /S again" wine "$root/$setup" /S
check "the registry and the files are as after the first install" test "$(snapshot)" == "$before"

echo "setup.exe /S while the editor has Quillon.dll loaded:"
hold_addins
expect_exit 3 "setup.exe /S with an add-in in use" wine "$root/$setup" /S
wait "$holder" || true
check "nothing changed while an add-in was in use" test "$(snapshot)" == "$before"

echo "quiet uninstall from Apps & features:"
wine reg add "$settings" /v Left /d 61 /f /reg:64 >/dev/null
expect_exit 0 "the quiet uninstall" run_stored QuietUninstallString
check "the install folder is gone" wait_gone "$installed"
check "nothing is left in the temporary folder" temporary_is "$temporary_before"
check_no_keys_left "after the quiet uninstall"
check "the Apps & features entry is gone" no_entry
check "the toolbar places are kept" value_is "$settings" Left 64 "REG_SZ +61"

check "the profile folder is the awkward one ($local_appdata)" test "$local_appdata" = "$profile\AppData\Local"

# Wine's own cmd.exe drops a % from a batch file's folder (%~dp0, %cd%), so a % in the name
# cannot be tried here; every other awkward character can.
awkward="$drive_c/Q & A (1^00) Ünïcödé!"
echo "install.cmd and uninstall.cmd from $awkward, twice each:"
rm -rf "$awkward"
mkdir -p "$awkward"
cp -r "$folder/." "$awkward/"
for round in 1 2; do
  expect_exit 0 "install.cmd, run $round" in_folder "$awkward" install.cmd
  check_registered "after install.cmd, run $round"
  for f in "${files[@]}"; do check "after install.cmd: $f installed" test -f "$installed/$f"; done
done
sandbox_loads x64 "the 64-bit sandbox loads both add-ins that install.cmd installed"
for round in 1 2; do
  expect_exit 0 "uninstall.cmd, run $round" in_folder "$awkward" uninstall.cmd
  check_no_keys_left "after uninstall.cmd, run $round"
  check "after uninstall.cmd, run $round: the install folder is gone" test ! -e "$installed"
done

echo "setup.exe /S, then uninstall.cmd:"
expect_exit 0 "setup.exe /S" wine "$root/$setup" /S
expect_exit 0 "uninstall.cmd after setup.exe" in_folder "$awkward" uninstall.cmd
check "the install folder is gone" test ! -e "$installed"
check "no Apps & features entry is left" no_entry
check_no_keys_left "after uninstall.cmd over setup.exe"

# The uninstaller run in place (_?=), so that its own exit code is seen, needs a folder without
# spaces: the argument, quoted as every argument with a space is, would not be seen as _?=.
echo "the uninstaller, with one unregistration failing (a damaged x86\\Lathmore.dll):"
kept=$drive_c/Kept
rm -rf "$kept"
expect_exit 0 "setup.exe /S /D=C:\\Kept" wine "$root/$setup" /S '/D=C:\Kept'
printf 'not a DLL' >"$kept/x86/Lathmore.dll"
expect_exit 2 "the uninstaller with a failing unregistration" wine "$kept/uninstall.exe" /S '_?=C:\Kept'
for f in "${files[@]}" uninstall.exe; do
  check "after the failed uninstall: $f kept" test -f "$kept/$f"
done
check "after the failed uninstall: the Apps & features entry kept" value_is "$uninstall_key" InstallLocation 64 'REG_SZ +C:\\Kept'
check_registered "after the failed uninstall (what it unregistered is registered again)"
sandbox_loads x64 "after the failed uninstall the 64-bit sandbox loads both add-ins" 'C:\Kept\x64'
cp "$folder/x86/Lathmore.dll" "$kept/x86/Lathmore.dll"
expect_exit 0 "the uninstaller, the DLL put right" wine "$kept/uninstall.exe" /S '_?=C:\Kept'
rm -rf "$kept"
check_no_keys_left "after uninstalling from C:\\Kept"

echo "an upgrade whose registration fails (a setup.exe with a damaged x86\\Lathmore.dll):"
broken=$scratch/broken
rm -rf "$broken"
cp -r "$folder" "$broken"
printf 'not a DLL' >"$broken/x86/Lathmore.dll"
makensis -V2 -DVERSION="$version.1" -DVERSION_QUAD="$version.1.0" -DSOURCE="$broken" \
  -DOUTFILE="$scratch/broken-setup.exe" release/setup.nsi >"$scratch/broken.log" 2>&1
expect_exit 0 "setup.exe /S" wine "$root/$setup" /S
before=$(snapshot)
expect_exit 2 "the failing upgrade" wine "$scratch/broken-setup.exe" /S
check "after the failed upgrade the previous installation is back as it was (files, registry, entry)" \
  test "$(snapshot)" == "$before"
check "after the failed upgrade the entry is the previous version's" value_is "$uninstall_key" DisplayVersion 64 "REG_SZ +$version"
sandbox_loads x64 "after the failed upgrade the 64-bit sandbox loads both add-ins"
sandbox_loads x86 "after the failed upgrade the 32-bit sandbox loads both add-ins"
expect_exit 0 "the quiet uninstall" wine "$installed/uninstall.exe" /S
check "the install folder is gone" wait_gone "$installed"
check_no_keys_left "after uninstalling"

echo "install.cmd from a temporary folder, as Explorer runs it from inside the zip:"
rm -rf "$temporary/$name"
cp -r "$folder" "$temporary/$name"
expect_exit 2 "install.cmd in a temporary folder" in_folder "$temporary/$name" install.cmd
check "it says why" grep -q "temporary folder" <<<"$last_output"
check "it installed nothing" test ! -e "$installed"
rm -rf "$temporary/alone"
mkdir -p "$temporary/../alone"
cp "$folder/install.cmd" "$temporary/../alone/"
expect_exit 2 "install.cmd without the files beside it" in_folder "$temporary/../alone" install.cmd
check "it says what is missing" grep -q "cannot find the files" <<<"$last_output"
check_no_keys_left "after the refusals"

echo "regsvr32 /u of the 32-bit DLLs alone, then of a registration whose folder was deleted:"
both="$drive_c/Both"
moved="$drive_c/Moved"
rm -rf "$both" "$moved"
mkdir -p "$both" "$moved"
cp -r "$folder/x64" "$folder/x86" "$both/"
cp -r "$folder/x64" "$moved/"
for dll in Quillon Lathmore; do
  # The 32-bit one first: where both bitnesses share one class tree (Wine), the last one wins.
  check "regsvr32 x86\\$dll.dll" regsvr 32 "C:\\Both\\x86\\$dll.dll"
  check "regsvr32 x64\\$dll.dll" regsvr 64 "C:\\Both\\x64\\$dll.dll"
  check "regsvr32 /u x86\\$dll.dll" regsvr 32 /u "C:\\Both\\x86\\$dll.dll"
done
for p in "${progids[@]}"; do
  check "after the 32-bit unregistration: $vbe\\Addins64\\$p" key "$vbe\\Addins64\\$p" 64
  check "after the 32-bit unregistration: no $vbe\\Addins\\$p" bash -c "! \"$root/scripts/wine\" reg query '$vbe\\Addins\\$p' /reg:32 </dev/null"
  check "after the 32-bit unregistration: the ProgID $p, which 64-bit Office still needs" key "$classes\\$p" 64
done
sandbox_loads x64 "64-bit Office still loads both add-ins" 'C:\Both\x64'
for dll in Quillon Lathmore; do
  check "regsvr32 Moved\\x64\\$dll.dll" regsvr 64 "C:\\Moved\\x64\\$dll.dll"
done
rm -rf "$moved"
for dll in Quillon Lathmore; do
  check "regsvr32 /u of the same DLL elsewhere, its registered folder deleted" regsvr 64 /u "C:\\Both\\x64\\$dll.dll"
done
check_no_keys_left "after unregistering a registration whose folder was deleted"

echo "two copies of the 64-bit DLLs registered, the first one unregistered:"
rm -rf "$drive_c/CopyA" "$drive_c/CopyB"
for copy in CopyA CopyB; do mkdir -p "$drive_c/$copy" && cp -r "$folder/x64" "$drive_c/$copy/"; done
for dll in Quillon Lathmore; do
  check "regsvr32 CopyA\\x64\\$dll.dll" regsvr 64 "C:\\CopyA\\x64\\$dll.dll"
  check "regsvr32 CopyB\\x64\\$dll.dll" regsvr 64 "C:\\CopyB\\x64\\$dll.dll"
  check "regsvr32 /u CopyA\\x64\\$dll.dll" regsvr 64 /u "C:\\CopyA\\x64\\$dll.dll"
done
for p in "${progids[@]}"; do
  check "the add-in key of $p, which the other copy holds, is kept" key "$vbe\\Addins64\\$p" 64
  check "the ProgID $p is kept" key "$classes\\$p" 64
done
sandbox_loads x64 "64-bit Office loads both add-ins from the other copy" 'C:\CopyB\x64'
for dll in Quillon Lathmore; do
  check "regsvr32 /u CopyB\\x64\\$dll.dll" regsvr 64 /u "C:\\CopyB\\x64\\$dll.dll"
done
check_no_keys_left "after unregistering both copies"

echo "the signed setup.exe:"
if [ -f "$signed/$name-setup.exe" ]; then
  expect_exit 0 "the signed setup.exe /S" wine "$root/$signed/$name-setup.exe" /S
  check "the uninstaller it wrote is signed by the same certificate" bash -c \
    "osslsigncode verify -CAfile build/release-trust/certificate/cert.pem -in '$installed/uninstall.exe' 2>&1 | grep -qx 'Signature verification: ok'"
  check "the signed x64\\Quillon.dll installed is the release's" cmp "$installed/x64/Quillon.dll" "$signed/$name/x64/Quillon.dll"
  check "Apps & features: version $version" value_is "$uninstall_key" DisplayVersion 64 "REG_SZ +$version"
  sandbox_loads x64 "the 64-bit sandbox loads both signed add-ins"
  sandbox_loads x86 "the 32-bit sandbox loads both signed add-ins"
  expect_exit 0 "the signed uninstaller /S" wine "$installed/uninstall.exe" /S
  check "the install folder is gone" wait_gone "$installed"
  check_no_keys_left "after the signed uninstaller"
else
  check "the signed release was built" false
fi

# Where a fixed buffer of MAX_PATH (260) cut the DLL's path, creating an add-in failed. Wine, like
# Windows without long-path support, loads no DLL whose path is longer than that.
echo "a DLL path of 260 characters:"
long_win='C:\Long'
while [ ${#long_win} -lt 243 ]; do long_win+='\a-long-folder'; done
long_win=${long_win:0:242}'z\x64'
long=$(unix "$long_win")
mkdir -p "$long"
cp "$folder/x64/Quillon.dll" "$folder/x64/Lathmore.dll" "$long/"
check "the path of Lathmore.dll is 260 characters (it is $((${#long_win} + 13)))" test $((${#long_win} + 13)) -eq 260
for dll in Quillon Lathmore; do check "regsvr32 of $dll.dll there" regsvr 64 "$long_win\\$dll.dll"; done
sandbox_loads x64 "the sandbox creates both add-ins from there" "$long_win"
for dll in Quillon Lathmore; do check "regsvr32 /u of $dll.dll there" regsvr 64 /u "$long_win\\$dll.dll"; done
check_no_keys_left "after unregistering from the long path"

summary
