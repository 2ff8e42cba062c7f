# Shutdown and the update manager: stand-in applications of the suite run in
# the background; _CloseApps@8 closes the one its entry names and leaves the
# other running. Then ShowUpdateManagerItem, first with no update manager in
# its registered folder (the message), then with a stand-in that records the
# command line it was given.
shutdown_demo="$DEMO_ROOT_UNIX/shutdown"
mkdir -p "$shutdown_demo"
cp "$BUILD_DIR/bin/nvtarget.exe" "$shutdown_demo/qdpro.exe"
cp "$BUILD_DIR/bin/nvtarget.exe" "$shutdown_demo/wtpro.exe"

section "Close running applications: _CloseApps@8 \"/X2qdpro.exe#Bitte beenden Sie QdPro.#Update\""
"$BUILD_DIR/wine-run" "$shutdown_demo/qdpro.exe" QdProFrame "QdPro Demo" >/dev/null 2>&1 &
qdpro_pid=$!
# wtpro ignores WM_CLOSE, as an application with unsaved work might.
"$BUILD_DIR/wine-run" "$shutdown_demo/wtpro.exe" WtProFrame "WtPro Demo" ignore >/dev/null 2>&1 &
wtpro_pid=$!
sleep 3
nvhost _CloseApps@8 "/X2qdpro.exe#Bitte beenden Sie QdPro.#Update"
qdpro_exit=0
wait "$qdpro_pid" || qdpro_exit=$?
echo "qdpro.exe ended with exit code $qdpro_exit (10: closed through WM_CLOSE)"
if kill -0 "$wtpro_pid" 2>/dev/null; then
    echo "wtpro.exe is still running (not named in the list)"
fi

section "Close running applications: _CloseApps@8 \"/X1wtpro.exe\" (wtpro ignores WM_CLOSE)"
nvhost _CloseApps@8 "/X1wtpro.exe"
wtpro_exit=0
wait "$wtpro_pid" || wtpro_exit=$?
echo "wtpro.exe ended with exit code $wtpro_exit (20: ended by the WM_QUIT that followed)"

um_folder_win="$DEMO_ROOT_WIN\\Update Manager"
um_folder_unix="$DEMO_ROOT_UNIX/Update Manager"
rm -rf "$um_folder_unix"
mkdir -p "$um_folder_unix"
winreg add 'HKLM\Software\Norvane\Gemeinsame Dateien\Update Manager\Verzeichnisse' \
    /v Prog /d "$um_folder_win" /f

section "Update manager: ShowUpdateManagerItem 0 qdpro \"\" (no update manager installed)"
nvhost ShowUpdateManagerItem 0 qdpro ""

section "Update manager: ShowUpdateManagerItem 1 \"\" abc (a stand-in records its command line)"
cp "$BUILD_DIR/bin/nvrecorder.exe" "$um_folder_unix/NvUpdateManager.exe"
nvhost ShowUpdateManagerItem 1 "" abc
for _ in $(seq 50); do
    [ -f "$um_folder_unix/commandline.txt" ] && break
    sleep 0.1
done
echo "command line received: [$(cat "$um_folder_unix/commandline.txt" 2>/dev/null)]"
