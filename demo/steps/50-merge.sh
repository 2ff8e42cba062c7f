# Updates: the update list of a product from its installed NDC file and a
# freshly fetched one, and the merge that carries this machine's progress
# ("Update", "Download", "QuotaDiced") into the fetched file.
merge_demo="$DEMO_ROOT_UNIX/merge"
mkdir -p "$merge_demo"
cp "$DEMO_DATA/merge/installed.ndc" "$merge_demo/installed.ndc"
winreg add 'HKCU\Software\Norvane\Demo\Merge' /v Programm /d "$DEMO_ROOT_WIN\\Programme\\Rechnung\\rw.exe" /f
mkdir -p "$DEMO_ROOT_UNIX/Programme/Rechnung"

section "Update list: GetUpdates (installed.ndc, fetched.ndc; wanted items only)"
cp "$DEMO_DATA/merge/fetched.ndc" "$merge_demo/fetched.ndc"
nvhost GetUpdates "$DEMO_ROOT_WIN\\merge\\installed.ndc" "$DEMO_ROOT_WIN\\merge\\fetched.ndc" 0 0 0
echo "(rechnung: newer edition; elster: new; lohn: installed already; nurmitlizenz: condition fails)"

section "Merge: MergeNdc2 (fetched.ndc receives the machine's progress)"
cp "$DEMO_DATA/merge/fetched.ndc" "$merge_demo/fetched.ndc"
nvhost MergeNdc2 "$DEMO_ROOT_WIN\\merge\\fetched.ndc" "$DEMO_ROOT_WIN\\merge\\installed.ndc"
echo "Keys the merge wrote into fetched.ndc (installed.ndc is only read):"
# Lines of the merged file that the fetched one did not have, with their section.
awk 'NR == FNR { seen[$0] = 1; next }
     /^\[/ { section = $0 }
     !seen[$0] { print "    " section " " $0 }' \
    <(tr -d '\r' <"$DEMO_DATA/merge/fetched.ndc") <(tr -d '\r' <"$merge_demo/fetched.ndc")
