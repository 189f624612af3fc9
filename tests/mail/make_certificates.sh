#!/bin/sh
# Throw-away certificates for the TLS tests, made with the openssl command:
#   make_certificates.sh FOLDER
# FOLDER/ca.pem        a test CA
# FOLDER/server.pem    the server's certificate from that CA, for localhost and 127.0.0.1
# FOLDER/server.key    its key
# FOLDER/other-ca.pem  another CA, which did not sign the server's certificate
set -eu
cd "$1"
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=dvrkit test CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" 2>/dev/null
openssl req -x509 -newkey rsa:2048 -nodes -keyout other-ca.key -out other-ca.pem -days 2 \
  -subj "/CN=dvrkit other CA" -addext "basicConstraints=critical,CA:TRUE" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout server.key -out server.csr -subj "/CN=localhost" 2>/dev/null
printf 'subjectAltName=DNS:localhost,IP:127.0.0.1\nbasicConstraints=CA:FALSE\n' > server.ext
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out server.pem -days 2 \
  -extfile server.ext 2>/dev/null
