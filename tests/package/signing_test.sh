#!/usr/bin/env bash
# The release package, signed with a throwaway certificate and unsigned. Usage:
#   signing_test.sh <e2e_tests.exe>
# Run inside the test bench (scripts/test): the signed program, unpacked, runs the jumps of
# the end-to-end test of Wine's own editor. Everything is written to a temporary folder;
# dist/ of the checkout is left alone.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
e2e_tests=$1
work=$(mktemp -d "/tmp/hivescout signing.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

# A code-signing certificate made for this run, in a folder and file with blanks and a
# quote, with a password holding blanks and both quotes.
keys="$work/signer's keys"
mkdir "$keys"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$keys/key.pem" -out "$keys/cert.pem" -days 2 \
  -subj "/CN=Hivescout test signer" -addext extendedKeyUsage=codeSigning -addext keyUsage=digitalSignature 2>/dev/null
password='a "quoted" pass'\''word '
pfx="$keys/test signer.pfx"
openssl pkcs12 -export -inkey "$keys/key.pem" -in "$keys/cert.pem" -out "$pfx" -passout fd:3 3<<<"$password"

# osslsigncode seen through a stand-in that records its arguments and the mode of the
# password file it is given.
real=$(command -v osslsigncode || true)
mkdir "$work/shim"
cat > "$work/shim/osslsigncode" <<'SHIM'
#!/usr/bin/env bash
printf '%s\n' "$@" >> "$SHIM_LOG"
previous=""
for argument in "$@"; do
  [ "$previous" != -readpass ] || stat -c 'password file mode %a' "$argument" >> "$SHIM_LOG"
  previous=$argument
done
PATH=$SHIM_PATH exec osslsigncode "$@"
SHIM
chmod +x "$work/shim/osslsigncode"
[ -n "$real" ] || echo "osslsigncode is not installed: the package script installs it"

# package <dist folder> [arguments...]: its output goes to <dist folder>.log.
package() {
  local dist=$1
  shift
  SHIM_LOG="$work/osslsigncode.log" SHIM_PATH=$PATH PATH="$work/shim:$PATH" PACKAGE_DIST_DIR="$dist" \
    "$root/scripts/package" "$@" > "$dist.log" 2>&1 || { cat "$dist.log"; fail "scripts/package $*"; }
}
# unpack <dist folder> <folder>: checks the sums and the zip's contents, and unpacks it.
unpack() {
  (cd "$1" && sha256sum -c --quiet SHA256SUMS) || fail "sha256sum -c SHA256SUMS in $1"
  [ "$(ls "$1")" = "$(printf '%s\n' SHA256SUMS "$(basename "$1"/hivescout-*-win64.zip)")" ] || fail "more in $1: $(ls "$1")"
  [ "$(unzip -Z1 "$1"/hivescout-*-win64.zip | tr '\n' ' ')" = "hivescout.exe README.md LICENSE " ] || fail "zip contents"
  unzip -q "$1"/hivescout-*-win64.zip -d "$2"
}

HIVESCOUT_SIGN_PASSWORD=$password package "$work/signed" "--sign-pfx=$pfx"
grep -q "^Signed hivescout.exe with the certificate in $pfx, without a timestamp$" "$work/signed.log" || fail "no signing line"
! grep -qF "$password" "$work/signed.log" "$work/osslsigncode.log" || fail "the password was printed or passed as an argument"
grep -qx 'password file mode 600' "$work/osslsigncode.log" || fail "the password file is not private"
signed="$work/signed release"
unpack "$work/signed" "$signed"
osslsigncode verify -CAfile "$keys/cert.pem" -in "$signed/hivescout.exe" > "$work/verify.log" 2>&1 ||
  { cat "$work/verify.log"; fail "the signed program does not verify"; }
grep -q "Subject: /CN=Hivescout test signer" "$work/verify.log" || fail "signed by someone else"

# One changed byte in the program's code breaks the signature.
cp "$signed/hivescout.exe" "$work/changed.exe"
byte=$(od -An -tu1 -j 4096 -N 1 "$work/changed.exe")
printf "\\x$(printf %02x $((byte ^ 1)))" | dd of="$work/changed.exe" bs=1 seek=4096 conv=notrunc status=none
! osslsigncode verify -CAfile "$keys/cert.pem" -in "$work/changed.exe" > /dev/null 2>&1 || fail "a changed byte still verifies"

# The same certificate at the same signing time (the commit's) packs the same bytes.
HIVESCOUT_SIGN_PASSWORD=$password package "$work/again" "--sign-pfx=$pfx"
cmp "$work/signed"/*.zip "$work/again"/*.zip || fail "signing twice packed different bytes"

# A wrong password packs nothing.
HIVESCOUT_SIGN_PASSWORD=wrong PACKAGE_DIST_DIR="$work/wrong" "$root/scripts/package" "--sign-pfx=$pfx" > /dev/null 2>&1 &&
  fail "packed with a wrong password"
[ ! -e "$work/wrong"/*.zip ] || fail "a zip was left with a wrong password"

# Unsigned: said in one line, the program holds no signature, and it is the signed one's
# program without its signature.
package "$work/unsigned"
grep -q "^Not signed: " "$work/unsigned.log" || fail "no line saying the package is not signed"
unpack "$work/unsigned" "$work/unsigned release"
! osslsigncode extract-signature -in "$work/unsigned release/hivescout.exe" -out "$work/none.p7" > /dev/null 2>&1 ||
  fail "the unsigned package holds a signature"
osslsigncode remove-signature -in "$signed/hivescout.exe" -out "$work/stripped.exe" > /dev/null
cmp -s <(tail -c +513 "$work/stripped.exe") <(tail -c +513 "$work/unsigned release/hivescout.exe") ||
  fail "signing changed more than the signature"

# Neither the key nor the certificate is in a package or its zip.
body=$(sed -n 2p "$keys/cert.pem")
for zip in "$work/signed"/*.zip "$work/unsigned"/*.zip; do
  ! unzip -p "$zip" | grep -qF "$body" || fail "the certificate is in $zip"
done

# The signed program, unpacked into a folder with a blank, jumps in Wine's own editor.
[ -n "${HIVESCOUT_WINE_EDITOR:-}" ] || fail "no copy of Wine's own editor (run this from scripts/test)"
cp "$e2e_tests" "$signed/"
"$root/scripts/wine-run" "$signed/e2e_tests.exe" --gtest_filter='RealEditorJump.*' > "$work/jumps.log" 2>&1 ||
  { cat "$work/jumps.log"; fail "the signed program's jumps"; }
grep -q '^\[  PASSED  \] 1 test' "$work/jumps.log" && ! grep -q SKIPPED "$work/jumps.log" || { cat "$work/jumps.log"; fail "no jump ran"; }
echo "Signed package verified, reproducible and jumping; unsigned package unsigned"
