#!/usr/bin/env bash
# A second brand from brand file to report: two unsigned releases are
# byte-identical, a signed one passes osslsigncode and SHA256SUMS; it
# installs under the brand's names, and the installed client reports with
# the brand's game id to its https endpoint on loopback, or to nobody when
# no trusted authority issued the certificate, and still ends in time.
#   release_test.sh <source root> <port base>   (in a running Wine session)
set -euo pipefail
root=$1
source "$root/tools/wine-env.sh"
work=$root/build/release-test
pki=$work/pki
rm -rf "$work" && mkdir -p "$pki"
server_pid= folder= trust_key= entry_key="HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brindle Harbor"
cleanup() {
  [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
  for key in "$trust_key" "$entry_key"; do "$WINE64" reg delete "$key" /f >/dev/null 2>&1 || true; done
  [ -z "$folder" ] || rm -rf "$folder"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Authorities (the rogue one trusted by nobody) and certificates.
ssl() { openssl "$@" >/dev/null 2>&1 || fail "openssl $1"; }
for ca in test-ca rogue-ca; do
  ssl req -x509 -newkey rsa:2048 -nodes -keyout "$pki/$ca.key" -out "$pki/$ca.pem" -days 2 -subj "/CN=$ca" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign
done
issue() {  # name authority extension
  ssl req -newkey rsa:2048 -nodes -keyout "$pki/$1.key" -out "$pki/$1.csr" -subj "/CN=$1"
  echo "$3" >"$pki/$1.ext"
  ssl x509 -req -in "$pki/$1.csr" -CA "$pki/$2.pem" -CAkey "$pki/$2.key" -CAcreateserial -days 2 \
    -extfile "$pki/$1.ext" -out "$pki/$1.pem"
}
issue signer test-ca extendedKeyUsage=codeSigning
issue server test-ca subjectAltName=IP:127.0.0.1,DNS:127.0.0.1
issue rogue rogue-ca subjectAltName=IP:127.0.0.1,DNS:127.0.0.1
export VSTORM_SIGN_PASSWORD="throwaway pass"
ssl pkcs12 -export -inkey "$pki/signer.key" -in "$pki/signer.pem" -out "$pki/signer.pfx" \
  -passout env:VSTORM_SIGN_PASSWORD

# Other names, game id, version and addresses; statistics over https.
stats_port=$(($2 + 10)) port=$(($2 + 10)) brand=$work/brand.ini
sed -e 's/^name_en = .*/name_en = Brindle Harbor/;s/^name_zh = .*/name_zh = 布林港/' \
  -e 's/^maker_en = .*/maker_en = Brindle Works/;s/^maker_zh = .*/maker_zh = 布林工坊/' \
  -e 's/^game_id = .*/game_id = 9031/;s/^version = .*/version = 2.4.1/' \
  -e "s|^stats = .*|stats = https://127.0.0.1:$port|;s|^login_host = .*|login_host = 127.0.0.1:$((port + 7))|" \
  -e "s|^folder = .*|folder = $root/res/art|" "$root/brand/default.ini" >"$brand"
for key in landing official forum maker topup survey; do
  port=$((port + 1))
  sed -i "s|^$key = .*|$key = http://127.0.0.1:$port|" "$brand"
done

# Beside the test trees, the compiler cache serves what the brand does not
# change. The second release starts from nothing in the same place, with the
# same objects from the cache: what is compared is the link, the resources
# and the packing.
release() {
  "$root/tools/release.sh" --brand "$brand" --trees "$root/build/release-test" --out "$work/$1" "${@:2}" \
    >"$work/$1.log" 2>&1 || { cat "$work/$1.log" >&2; fail "release $1"; }
}
release unsigned-a
rm -rf "$root"/build/release-test-*
release unsigned-b
for file in BrindleHarborSetup.exe uninstall.exe vstorm.exe SHA256SUMS; do
  cmp "$work/unsigned-a/$file" "$work/unsigned-b/$file" || fail "$file differs between two releases"
done
release signed --sign "$pki/signer.pfx"
grep -q 'carry no time stamp' "$work/signed.log" || fail "the missing time-stamp server went unsaid"
! grep -qF "$VSTORM_SIGN_PASSWORD" "$work/signed.log" || fail "the password is in the log"
(cd "$work/signed" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS do not match"
for file in BrindleHarborSetup.exe uninstall.exe vstorm.exe; do
  osslsigncode verify -CAfile "$pki/test-ca.pem" -in "$work/signed/$file" >"$work/verify.log" 2>&1 ||
    { cat "$work/verify.log" >&2; fail "$file is not signed"; }
done

# The test authority, trusted by this prefix's user only: a serialized
# certificate (property 32) under its SHA-1 thumbprint in the root store.
thumb=$(openssl x509 -in "$pki/test-ca.pem" -noout -fingerprint -sha1 | sed 's/.*=//; s/://g')
trust_key="HKCU\\Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\$thumb"
blob=$(openssl x509 -in "$pki/test-ca.pem" -outform DER | python3 -c '
import struct, sys; der = sys.stdin.buffer.read(); print((struct.pack("<III", 32, 1, len(der)) + der).hex())')
"$WINE64" reg add "$trust_key" /v Blob /t REG_BINARY /d "$blob" /f >/dev/null

win_path() { "$WINE64" winepath -u "$("$WINE64" cmd /c echo "$1" 2>/dev/null | tr -d '\r')$2" 2>/dev/null; }
folder=$(win_path %LOCALAPPDATA% '\Programs\Brindle Harbor')
"$WINE64" "$work/signed/BrindleHarborSetup.exe" /S || fail "the installer failed"
[ -f "$folder/vstorm.exe" ] && [ -f "$folder/uninstall.exe" ] || fail "nothing installed in $folder"
"$WINE64" reg query "$entry_key" /v Publisher | grep -q 'Brindle Works' || fail "no uninstall entry"
"$WINE64" reg query "$entry_key" /v DisplayVersion | grep -q '2\.4\.1' || fail "not the brand's version"
rm "$(win_path %USERPROFILE% '\Desktop\Brindle Harbor.lnk')" || fail "no desktop shortcut"
rm -r "$(win_path %APPDATA% '\Microsoft\Windows\Start Menu\Programs\Brindle Works')" || fail "no menu folder"

# One run of the installed client against a loopback https server with the
# certificate, closed as the taskbar closes it (taskkill without /F).
run_client() {
  : >"$work/reports.log"
  python3 - "$stats_port" "$pki/$1.pem" "$pki/$1.key" "$work/reports.log" <<'EOF' &
import http.server, ssl, sys
class Reports(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        with open(sys.argv[4], "ab") as log:
            log.write(self.rfile.read(int(self.headers.get("Content-Length", 0))) + b"\n")
        self.send_response(200)
        self.end_headers()
server = http.server.HTTPServer(("127.0.0.1", int(sys.argv[1])), Reports)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(sys.argv[2], sys.argv[3])
server.socket = context.wrap_socket(server.socket, server_side=True)
server.serve_forever()
EOF
  server_pid=$! && sleep 1
  "$WINE64" "$folder/vstorm.exe" &
  local client=$! && sleep 8
  "$WINE64" taskkill /IM vstorm.exe >/dev/null 2>&1 || true
  # The exit report may wait out the form poster's 10 s deadline.
  for _ in $(seq 40); do kill -0 "$client" 2>/dev/null && sleep 0.5; done
  kill "$server_pid" && server_pid=
  if kill -0 "$client" 2>/dev/null; then
    "$WINE64" taskkill /F /IM vstorm.exe >/dev/null 2>&1 || true
    fail "the client did not end within 20 s of the close request"
  fi
}
run_client server
grep -q '^game_id=9031&action=install&' "$work/reports.log" || fail "no install report: $(cat "$work/reports.log")"
grep -q '^game_id=9031&action=close&' "$work/reports.log" || fail "no exit report: $(cat "$work/reports.log")"
run_client rogue
[ ! -s "$work/reports.log" ] || fail "an untrusted server got: $(cat "$work/reports.log")"
