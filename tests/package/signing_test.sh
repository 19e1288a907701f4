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

# Without HIVESCOUT_SIGN_PASSWORD, a certificate without a password signs (and the package
# script installs osslsigncode when it is missing).
openssl pkcs12 -export -inkey "$keys/key.pem" -in "$keys/cert.pem" -out "$keys/open.pfx" -passout pass:
env -u HIVESCOUT_SIGN_PASSWORD PACKAGE_DIST_DIR="$work/open" "$root/scripts/package" "--sign-pfx=$keys/open.pfx" > "$work/open.log" 2>&1 ||
  { cat "$work/open.log"; fail "signing with a certificate without a password"; }

# osslsigncode seen through a stand-in that records its arguments and the mode and path of
# the password file it is given.
mkdir "$work/shim"
cat > "$work/shim/osslsigncode" <<'SHIM'
#!/usr/bin/env bash
printf '%s\n' "$@" >> "$SHIM_LOG"
previous=""
for argument in "$@"; do
  [ "$previous" != -readpass ] || stat -c 'password file mode %a %n' "$argument" >> "$SHIM_LOG"
  previous=$argument
done
PATH=$SHIM_PATH exec osslsigncode "$@"
SHIM
chmod +x "$work/shim/osslsigncode"

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
password_file=$(sed -n 's/^password file mode 600 //p' "$work/osslsigncode.log")
[ -n "$password_file" ] || fail "the password file is not private"
[ ! -e "$password_file" ] || fail "the password file was left behind"
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

# A wrong password, or a timestamp authority that cannot be reached, packs nothing.
HIVESCOUT_SIGN_PASSWORD=wrong PACKAGE_DIST_DIR="$work/wrong" "$root/scripts/package" "--sign-pfx=$pfx" > /dev/null 2>&1 &&
  fail "packed with a wrong password"
[ ! -e "$work/wrong"/*.zip ] || fail "a zip was left with a wrong password"
: > "$work/osslsigncode.log"
HIVESCOUT_SIGN_PASSWORD=$password SHIM_LOG="$work/osslsigncode.log" SHIM_PATH=$PATH PATH="$work/shim:$PATH" \
  PACKAGE_DIST_DIR="$work/stamped" "$root/scripts/package" "--sign-pfx=$pfx" --timestamp-url=http://127.0.0.1:9/ > /dev/null 2>&1 &&
  fail "packed without the timestamp asked for"
[[ $(< "$work/osslsigncode.log") == *$'\n-ts\nhttp://127.0.0.1:9/\n'* ]] || fail "the timestamp authority was not asked"
[ ! -e "$work/stamped"/*.zip ] || fail "a zip was left without its timestamp"
unpack "$work/open" "$work/open release"
osslsigncode verify -CAfile "$keys/cert.pem" -in "$work/open release/hivescout.exe" > /dev/null 2>&1 || fail "unsigned without a password"
# A certificate in the folder the package would empty first is refused, and stays.
PACKAGE_DIST_DIR="$keys" "$root/scripts/package" "--sign-pfx=$pfx" > /dev/null 2>&1 && fail "signed from inside the package folder"
[ -f "$pfx" ] || fail "the certificate in the package folder was removed"

# Unsigned: said in one line, the program holds no signature, and it is the signed one's
# program without its signature.
package "$work/unsigned"
grep -q "^Not signed: " "$work/unsigned.log" || fail "no line saying the package is not signed"
unpack "$work/unsigned" "$work/unsigned release"
! osslsigncode extract-signature -in "$work/unsigned release/hivescout.exe" -out "$work/none.p7" > /dev/null 2>&1 ||
  fail "the unsigned package holds a signature"
# Signing adds the signature and sets the header's checksum (e_lfanew + 88), nothing else.
osslsigncode remove-signature -in "$signed/hivescout.exe" -out "$work/stripped.exe" > /dev/null
checksum=$(($(od -An -tu4 -j 60 -N 4 "$work/stripped.exe") + 88))
[ -z "$(cmp -l "$work/stripped.exe" "$work/unsigned release/hivescout.exe" 2>&1 | awk -v c="$checksum" '$1 <= c || $1 > c + 4')" ] ||
  fail "signing changed more than the signature"

# Neither the private key nor the certificate file is in a zip (the signature carries the
# certificate, whose public key is also in the private key's first half): 32 bytes of the
# private key's second half (a prime) and of the certificate file, in hexadecimal.
hex() { od -An -tx1 -v | tr -d ' \n'; }
key=$(openssl pkey -in "$keys/key.pem" -outform DER | hex | cut -c 1201-1264)
pfx_part=$(hex < "$pfx" | cut -c 1201-1264)
for zip in "$work/signed"/*.zip "$work/again"/*.zip "$work/open"/*.zip "$work/unsigned"/*.zip; do
  [ "$(unzip -p "$zip" | hex | grep -cF -e "$key" -e "$pfx_part" || true)" = 0 ] || fail "the key or the certificate file is in $zip"
done

# The signed program, unpacked into a folder with a blank, jumps in Wine's own editor.
[ -n "${HIVESCOUT_WINE_EDITOR:-}" ] || fail "no copy of Wine's own editor (run this from scripts/test)"
cp "$e2e_tests" "$signed/"
"$root/scripts/wine-run" "$signed/e2e_tests.exe" --gtest_filter='RealEditorJump.EveryTargetKindAndPathForm' > "$work/jumps.log" 2>&1 ||
  { cat "$work/jumps.log"; fail "the signed program's jumps"; }
grep -q '^\[  PASSED  \] 1 test' "$work/jumps.log" && ! grep -q SKIPPED "$work/jumps.log" || { cat "$work/jumps.log"; fail "no jump ran"; }
echo "Signed package verified, reproducible and jumping; unsigned package unsigned"
