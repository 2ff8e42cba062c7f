# Signed NDC files: once a machine lists a publisher's public key in
# HKLM\Software\Norvane\Download\NdcPublicKeys, a fetched NDC file is merged
# only when that publisher signed it and its Serial does not go back.
# nvsign is the publisher's tool.
signed_demo="$DEMO_ROOT_UNIX/signed"
signed_win="$DEMO_ROOT_WIN\\signed"
mkdir -p "$signed_demo"
rm -f "$signed_demo/publisher.key"
cp "$BUILD_DIR/bin/nvsign.exe" "$DEMO_ROOT_UNIX/bin/"
# The module's German texts are in code page 1252.
nvsign() {
    "$BUILD_DIR/wine-run" "$DEMO_ROOT_UNIX/bin/nvsign.exe" "$@" 2>&1 | tr -d '\r' |
        iconv -f CP1252 -t UTF-8
}
nvhost_de() { nvhost "$@" | iconv -f CP1252 -t UTF-8; }
# A demo file with a Serial in its header, as the installed or the fetched file.
with_serial() {
    tr -d '\r' <"$DEMO_DATA/merge/$1" | sed "s/^\[Header\]\$/[Header]\nSerial=$2/" |
        sed 's/$/\r/' >"$signed_demo/$1"
}

section "Publisher: nvsign keygen; the machine trusts the printed public key"
public="$("$BUILD_DIR/wine-run" "$DEMO_ROOT_UNIX/bin/nvsign.exe" keygen \
    "$signed_win\\publisher.key" 2>/dev/null | tr -d '\r')"
echo "NdcPublicKeys = $public"
winreg add 'HKLM\Software\Norvane\Download' /v NdcPublicKeys /t REG_MULTI_SZ /d "$public" /f

section "Signed (Serial 6, installed Serial 5): nvsign sign, then MergeNdc2 merges it"
with_serial installed.ndc 5
with_serial fetched.ndc 6
nvsign sign "$signed_win\\publisher.key" "$signed_win\\fetched.ndc"
nvhost_de MergeNdc2 "$signed_win\\fetched.ndc" "$signed_win\\installed.ndc"

section "Changed after signing (a download address): refused, nothing written"
with_serial fetched.ndc 6
nvsign sign "$signed_win\\publisher.key" "$signed_win\\fetched.ndc"
sed -i 's|https://updates.example/rw183.exe|https://elsewhere.example/rw183.exe|' \
    "$signed_demo/fetched.ndc"
nvsign verify "$public" "$signed_win\\fetched.ndc" || true
nvhost_de MergeNdc2 "$signed_win\\fetched.ndc" "$signed_win\\installed.ndc"

section "An older edition (Serial 4), signed correctly: refused as a rollback"
with_serial fetched.ndc 4
nvsign sign "$signed_win\\publisher.key" "$signed_win\\fetched.ndc"
nvhost_de MergeNdc2 "$signed_win\\fetched.ndc" "$signed_win\\installed.ndc"

winreg delete 'HKLM\Software\Norvane\Download' /v NdcPublicKeys /f
