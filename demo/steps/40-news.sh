# News of a product: a feed index naming two feeds, with dated, constrained,
# read and hidden items; then a news item marked read.
NEWS_ROOT_UNIX="$DEMO_ROOT_UNIX/news"
NEWS_ROOT_WIN="$DEMO_ROOT_WIN\\news"
NEWS_KEY='HKLM\Software\Norvane\Demo\News'
mkdir -p "$NEWS_ROOT_UNIX/feeds"
cp "$DEMO_DATA/news/qdpro.feed" "$NEWS_ROOT_UNIX/"
cp "$DEMO_DATA/news/qdpro-allgemein.xml" "$DEMO_DATA/news/qdpro-service.xml" "$NEWS_ROOT_UNIX/feeds/"
winreg add "$NEWS_KEY" /v Daten /d "$NEWS_ROOT_WIN" /f
winreg add "$NEWS_KEY" /v Feeds /d "$NEWS_ROOT_WIN\\feeds" /f
winreg add "$NEWS_KEY" /v Edition /d Standard /f

# The user's marks start afresh on every run: one item read, one hidden.
rm -f "$NVINFO_WINEPREFIX"/drive_c/users/*/AppData/Roaming/Norvane/"Gemeinsame Dateien"/UpdateManager/qdpro-*.xml.conf
NEWS_GENERAL="$NEWS_ROOT_WIN\\feeds\\qdpro-allgemein.xml"
NEWS_SERVICE="$NEWS_ROOT_WIN\\feeds\\qdpro-service.xml"
nvhost SetNewsItemState "$NEWS_GENERAL" allg-2 1 -1 >/dev/null
nvhost SetNewsItemState "$NEWS_SERVICE" serv-1 -1 1 >/dev/null

section "News of qdpro (expired, future and Premium-only items left out; allg-2 read)"
nvhost GetNewsXml3 qdpro "" "$NEWS_KEY\\Daten"

section "Unread and not hidden items only (serv-1 hidden, allg-2 read)"
nvhost GetNewsFromFileEx "$NEWS_GENERAL" "" 0 0 1
nvhost GetNewsFromFileEx "$NEWS_SERVICE" "" 0 0 1

section "Category Service of qdpro"
nvhost GetNewsXml3 qdpro Service "$NEWS_KEY\\Daten"

section "SetNewsItemState: allg-1 read, then the news again"
nvhost SetNewsItemState "$NEWS_GENERAL" allg-1 1 -1
nvhost GetNewsXml3 qdpro "" "$NEWS_KEY\\Daten"
