#!/usr/bin/env bash
# What Windows reads from vexlum.scr without running it: Screen Saver Settings lists the saver
# by string 1, Explorer and the title bars show its icon, Properties show its version, and the
# link's hand is ours. The version must be the one the program itself prints.
source "$(dirname "$0")/common.sh"
command -v wrestool >/dev/null || fail "needs wrestool (icoutils)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

listing=$(wrestool -l "$VEXLUM_SCR")
for kind in group_icon string version group_cursor; do
  grep -q "type=$kind " <<<"$listing" || fail "no $kind resource in: $listing"
done
# Icons of 16, 32 and 48 pixels under the one group Windows picks from.
[ "$(grep -c 'type=icon ' <<<"$listing")" -eq 3 ] || fail "expected three icon images: $listing"
# wrestool gives the group back as an .ico file: 16 bytes a picture, its width first.
wrestool -x --type=14 --name=1 "$VEXLUM_SCR" >"$work/group.bin"
sizes=$(python3 - "$work/group.bin" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
count = struct.unpack_from("<H", data, 4)[0]
print(" ".join(str(data[6 + 16 * i] or 256) for i in range(count)))
EOF
)
[ "$sizes" = "16 32 48" ] || fail "icon sizes: $sizes"

# String table block 1 holds strings 0 to 15, each a length then UTF-16 characters.
wrestool -x --raw --type=6 --name=1 "$VEXLUM_SCR" >"$work/strings.bin"
name=$(python3 - "$work/strings.bin" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
at, strings = 0, []
while at < len(data):
    length = struct.unpack_from("<H", data, at)[0]
    strings.append(data[at + 2:at + 2 + 2 * length].decode("utf-16-le"))
    at += 2 + 2 * length
print(strings[1])
EOF
)
[ "$name" = Vexlum ] || fail "string 1 is '$name'"

printed=$(wine "$VEXLUM_SCR" --version | tr -d '\r')
version=${printed#vexlum }
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed '$printed'"
wrestool -x --raw --type=16 --name=1 "$VEXLUM_SCR" >"$work/version.bin"
# The numeric version (major.minor in one word, patch.build in the next) and the strings.
python3 - "$work/version.bin" "$version" <<'EOF' || fail "the version resource disagrees with --version $version"
import struct, sys
data = open(sys.argv[1], "rb").read()
want = sys.argv[2]
fixed = data.find(struct.pack("<I", 0xFEEF04BD))
ms, ls = struct.unpack_from("<II", data, fixed + 8)
numeric = "%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16)
text = data.decode("utf-16-le", "replace")
for key in ("FileVersion", "ProductVersion"):
    start = text.index(key) + len(key)
    value = text[start:].lstrip("\0").split("\0")[0]
    if value != want:
        sys.exit("%s is %s" % (key, value))
if numeric != want:
    sys.exit("the numeric version is %s" % numeric)
for key in ("ProductName", "FileDescription", "LegalCopyright"):
    if key not in text:
        sys.exit("no " + key)
EOF
echo "PASS: string 1 'Vexlum', icons $sizes, version $version in every place"
