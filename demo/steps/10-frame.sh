# The module loads and shows its export table.
section "nvinfo.dll: exported functions (ordinal, name)"
nvhost --list
