# Download configuration: installation conditions of NDC items, and the check
# whether a newer local copy of a product's NDC file offers something new.
# produkt.ndc is the installed file; lokal/produkt.ndc the newer copy its
# header's LocalURL points to (through a registry value).
download_demo="$DEMO_ROOT_UNIX/download"
mkdir -p "$download_demo/lokal"
cp "$DEMO_DATA/download/produkt.ndc" "$download_demo/produkt.ndc"
cp "$DEMO_DATA/download/lokal/produkt.ndc" "$download_demo/lokal/produkt.ndc"
winreg add 'HKCU\Software\Norvane\Demo\Download' /v Modul /d "$DEMO_ROOT_WIN\\bin\\nvinfo.dll" /f
winreg add 'HKCU\Software\Norvane\Demo\Download' /v Edition /d Profi /f
winreg add 'HKCU\Software\Norvane\Demo\Download' /v Lokal /d "$DEMO_ROOT_WIN\\download\\lokal" /f
winreg delete 'HKCU\Software\Norvane\Demo\Download' /v Lizenz /f || true

section "Installation conditions: IsInstalliert (1 holds, 0 does not)"
for condition in \
    '/FHKCU\Software\Norvane\Demo\Download\Modul#18.9.0.0#18.0.0.0' \
    '/FHKCU\Software\Norvane\Demo\Download\Modul#17.0.0.0' \
    '/RHKCU\Software\Norvane\Demo\Download\Edition;/SPROFI' \
    '!/RHKCU\Software\Norvane\Demo\Download\Edition;/SProfi' \
    '/EHKCU\Software\Norvane\Demo\Download\Lizenz' \
    '/RHKCU\Software\Norvane\Demo\Download\Fehlt;/EHKCU\Software'; do
    printf '%s\n    ' "$condition"
    nvhost IsInstalliert "$condition"
done

section "Items of the newer copy: IsItemInstallable"
for item in basis profi nurbeta mitlizenz paket; do
    printf '%-10s ' "$item"
    nvhost IsItemInstallable "$DEMO_ROOT_WIN\\download\\lokal\\produkt.ndc" "$item"
done
echo "(nurbeta: quota 0 and this machine is in no privileged group; its dice is now in the file:)"
grep -A6 '^\[nurbeta\]' "$download_demo/lokal/produkt.ndc" | tr -d '\r' | grep QuotaDiced | sed 's/^/    /' || true

section "Newer local copy: IsLocalUpdateAvailable (installed produkt.ndc)"
nvhost IsLocalUpdateAvailable "$DEMO_ROOT_WIN\\download\\produkt.ndc"
echo "(basis has a greater DateVer in lokal\\produkt.ndc)"
