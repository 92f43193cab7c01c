// A SOAP server made by node-soap from a WSDL: it answers every operation with the sample values
// it is given and records, one JSON line each, what it received (the raw request, and the
// arguments and headers node-soap decoded from it). It listens on loopback only, on a free port
// that it prints as its first line, and ends when its standard input closes.
//   node soap_server.js NODE_MODULES WSDL PLAN.json RECORD.jsonl
'use strict';
const path = require('path');
const fs = require('fs');
const http = require('http');

const [modules, wsdlPath, planPath, recordPath] = process.argv.slice(2);
const soap = require(path.join(modules, 'soap'));
const plan = JSON.parse(fs.readFileSync(planPath, 'utf8'));
const record = fs.openSync(recordPath, 'w');

function write(entry) {
  fs.writeSync(record, JSON.stringify(entry) + '\n');
}

// An operation that declares faults is answered with a fault on its second call; one that has an
// unlisted answer (an enumerated value out of its list) with that on the call after.
const port = {};
for (const [name, answer] of Object.entries(plan.operations)) {
  let calls = 0;
  port[name] = function (args, callback, headers) {
    calls += 1;
    write({ event: 'call', op: name, args: args === undefined ? null : args, headers: headers || null });
    // The calls come in turns: the answer, then the fault, then the unlisted value (those there are).
    const turns = ['body'].concat(answer.fault ? ['fault'] : [], answer.unlisted ? ['unlisted'] : []);
    const turn = turns[(calls - 1) % turns.length];
    if (turn === 'fault') {
      throw { Fault: answer.fault };
    }
    return answer[turn];
  };
}
// node-soap picks the port by the request's path or else the first port of the WSDL, which may be
// another binding's: every service and port name serves the same operations.
const anyPort = new Proxy({}, { get: () => port });
const services = new Proxy({}, { get: () => anyPort });

const server = http.createServer((req, res) => {
  res.statusCode = 404;
  res.end();
});
server.keepAliveTimeout = 1000;

server.listen(0, '127.0.0.1', () => {
  const xml = fs.readFileSync(wsdlPath, 'utf8');
  const ready = (err) => {
    if (err) {
      process.stdout.write(JSON.stringify({ error: String(err && err.stack ? err.stack : err) }) + '\n');
      return;
    }
    dispatchEmptyBodies(soapServer.wsdl.definitions);
    process.stdout.write(JSON.stringify({ port: server.address().port }) + '\n');
  };
  // The port is printed once the WSDL is read: that is when requests are served.
  // A nil element reaches the service as null (else it would be dropped as if absent).
  const soapServer = soap.listen(server, { path: plan.path, services, xml, uri: wsdlPath, callback: ready,
    handleNilAsNull: true, forceSoap12Headers: !!plan.soap12 });
  // node-soap writes xsi:nil without declaring the prefix (its envelopes declare no namespace of
  // w3.org): the Envelope gets the declaration, so that an answer that holds a nil value is XML.
  const send = soapServer._sendHttpResponse.bind(soapServer);
  soapServer._sendHttpResponse = (res, statusCode, result) => send(res, statusCode,
    typeof result === 'string' && result.includes('xsi:nil') && !result.includes('xmlns:xsi=')
      ? result.replace(/(<\w+:Envelope)/, '$1 xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"') : result);
  soapServer.log = (type, data, req) => {
    if (type === 'received') write({ event: 'received', xml: String(data), headers: req ? req.headers : {} });
    else if (type === 'replied') write({ event: 'replied', xml: String(data) });
    else if (type === 'error') write({ event: 'error', text: String(data && data.stack ? data.stack : data) });
  };
  soapServer.addSoapHeader((methodName) => (plan.operations[methodName] || {}).headerXml || '');
});

// A document operation whose request has no part comes with an empty Body, which node-soap can
// dispatch only through a top element named by its SOAPAction: it lists none, so those are added.
function dispatchEmptyBodies(definitions) {
  for (const binding of Object.values(definitions.bindings)) {
    for (const [name, method] of Object.entries(binding.methods || {})) {
      const input = definitions.messages[method.input && method.input.$name];
      const empty = input && !input.element && !(input.parts && Object.keys(input.parts).length);
      if ((method.style || binding.style) === 'document' && empty && method.soapAction && binding.topElements) {
        binding.topElements[method.soapAction] = { methodName: name, outputName: method.output ? method.output.$name : '' };
      }
    }
  }
}

process.stdin.on('end', () => process.exit(0));
process.stdin.on('error', () => process.exit(0));
process.stdin.resume();
