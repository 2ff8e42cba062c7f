# Constraints: the small XML language news items carry, evaluated on this
# machine (Windows version, a product file's version, a registry text).
section "Constraints: CheckConstraint (1 holds, 0 does not)"
winreg add 'HKCU\Software\Norvane\Demo\Constraint' /v Edition /d Profi /f
winreg add 'HKCU\Software\Norvane\Demo\Constraint' /v ModuleFolder /d "$DEMO_ROOT_WIN\\bin" /f
demo_constraint() {
    printf '%s\n    ' "$1"
    nvhost CheckConstraint "$1"
}
demo_constraint "<true/>"
demo_constraint "<xor><true/><true/><true/></xor>"
demo_constraint "<osversion from='win7' to='win11'/>"
demo_constraint "<osversion version='winxp'/>"
demo_constraint "<regEntry regKey='HKCU\\Software\\Norvane\\Demo\\Constraint\\Edition' value='Profi'/>"
demo_constraint "<and><osversion from='win7' to='win11'/><product regKey='HKCU\\Software\\Norvane\\Demo\\Constraint\\ModuleFolder' append='nvinfo.dll' from='18' to='18.9'/></and>"
demo_constraint "<and><true/>"
