// The calculator service (runtime/example/calculator.wsdl) made by node-soap, for the client's
// transport tests: over https when given a certificate and key, else plain http. It records one
// JSON line per TCP connection it accepts and per call; with "close" it ends each connection after
// its answer, with "drop" it ends each after its answer without saying so. It listens on loopback only
// (with "ipv6" on ::1, else on 127.0.0.1), on a free port that it prints as its first line, and
// ends when its standard input closes.
//   node transport_server.js NODE_MODULES WSDL RECORD.jsonl [CERT.pem KEY.pem|-] [close|drop|ipv6]
'use strict';
const path = require('path');
const fs = require('fs');
const http = require('http');
const https = require('https');

const [modules, wsdlPath, recordPath, certPath, keyPath, mode] = process.argv.slice(2);
const soap = require(path.join(modules, 'soap'));
const record = fs.openSync(recordPath, 'w');
const write = (entry) => fs.writeSync(record, JSON.stringify(entry) + '\n');

const tls = certPath && certPath !== '-';
const notFound = (req, res) => { res.statusCode = 404; res.end(); };
const server = tls ? https.createServer({ cert: fs.readFileSync(certPath), key: fs.readFileSync(keyPath) }, notFound)
  : http.createServer(notFound);
server.keepAliveTimeout = 5000;
server.on('connection', () => write({ event: 'connection' }));

const calculator = {
  Add(args) { write({ event: 'call', op: 'Add' }); return { sum: Number(args.a) + Number(args.b) }; },
  Greet(args) { write({ event: 'call', op: 'Greet' }); return { greeting: 'Hello, ' + args.name }; },
};
const services = { CalculatorService: { CalculatorPort: calculator } };

server.listen(0, mode === 'ipv6' ? '::1' : '127.0.0.1', () => {
  const xml = fs.readFileSync(wsdlPath, 'utf8');
  soap.listen(server, { path: '/calculator', services, xml, callback: (err) => {
    if (mode === 'close') {
      // Ahead of node-soap's listener, once it is there (it replaces those before it): node
      // answers with Connection: close and closes.
      server.prependListener('request', (req, res) => res.setHeader('Connection', 'close'));
    } else if (mode === 'drop') {
      // Without a word: the answer says nothing of closing, the connection just ends after it.
      server.prependListener('request', (req, res) => res.on('finish', () => req.socket.end()));
    }
    process.stdout.write(JSON.stringify(err ? { error: String(err) } : { port: server.address().port }) + '\n');
  } });
});

process.stdin.on('end', () => process.exit(0));
process.stdin.on('error', () => process.exit(0));
process.stdin.resume();
