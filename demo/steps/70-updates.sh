# Update manager integration: its two settings, the update infos of the demo
# product (unread news, waiting updates, days since the last check) and the
# list of NDC files the update manager is to fetch. The product's NDC file is
# the download demo's newer copy, with a header that names a fetch address and
# pushes its updates.
updates_demo="$DEMO_ROOT_UNIX/updates"
mkdir -p "$updates_demo"
tr -d '\r' <"$DEMO_DATA/download/lokal/produkt.ndc" |
    sed 's|^\[Header\]$|[Header]\nRedirURL=https://updates.norvane.example/rechnung/produkt.ndc\nLocalURL=\\\\server\\updates\\rechnung\nPush=1|' |
    sed 's/$/\r/' >"$updates_demo/produkt.ndc"
winreg add 'HKLM\Software\Norvane\Installiert\qdpro' /v Name /d 'Rechnungswesen & Lohn' /f
winreg add 'HKLM\Software\Norvane\Installiert\qdpro' /v NDC /d "$DEMO_ROOT_WIN\\updates\\produkt.ndc" /f
# The update infos read the news from the update manager's standard data
# folder: here the news demo's folder.
winreg add 'HKLM\Software\Norvane\Gemeinsame Dateien\Update Manager\Verzeichnisse' /v Daten /d "$DEMO_ROOT_WIN\\news" /f

config_dir="$(dirname "$DEMO_ROOT_UNIX")/ProgramData/Norvane/Update Manager/Daten"
mkdir -p "$config_dir"
last_check="$(date -d '-3 days -2 hours' '+%d.%m.%Y %H:%M:%S')"
printf '<?xml version="1.0" encoding="utf-8"?>\r\n<UpdateManagerConfig>\r\n  <UpdateMode>ModeAutomatic</UpdateMode>\r\n  <LastSuccessfulCheck>%s</LastSuccessfulCheck>\r\n</UpdateManagerConfig>\r\n' \
    "$last_check" >"$config_dir/updatemanager-config.xml"

section "Update manager settings: GetUpdateMode (1 look for updates), GetDaysSinceLastCheck (last check $last_check)"
nvhost GetUpdateMode
nvhost GetDaysSinceLastCheck

section "Update infos of qdpro: GetUpdateInfos"
nvhost GetUpdateInfos qdpro
echo "(nurbeta: quota 0 and no privileged group; formulare and vorlagen are listed as their group paket)"

section "NDC files to fetch: GetNdcToDownload2 (all products, push-only 1)"
nvhost GetNdcToDownload2 "" 1
