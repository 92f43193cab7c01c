// node-soap serves wsdl/addressing.wsdl and checks the addressing headers of each request on the wire:
// its Action (the operation's), a urn:uuid: MessageID, To (the address called) and an anonymous ReplyTo;
// it answers with the response's Action and RelatesTo the request's MessageID, and prints its port.
//   node addressing_node_server.js NODE_MODULES WSDL
const path = require("path");
const http = require("http");
const fs = require("fs");
const soap = require(path.join(process.argv[2], "soap"));
const wsdl = fs.readFileSync(process.argv[3], "utf8");
const WSA = "http://www.w3.org/2005/08/addressing";
const base = "http://example.org/addressed/";

const text = (value) => (value && typeof value === "object" ? value.$value ?? value._ ?? "" : value ?? "");

// the wire's headers, checked: "" when right, else what is wrong
function wrong(operation, headers, request) {
  const problems = [];
  if (text(headers.Action) !== base + operation) problems.push("Action " + text(headers.Action));
  if (!/^urn:uuid:[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$/.test(text(headers.MessageID)))
    problems.push("MessageID " + text(headers.MessageID));
  if (!text(headers.To).endsWith(request.url)) problems.push("To " + text(headers.To));
  const reply = headers.ReplyTo && text(headers.ReplyTo.Address);
  if (reply !== WSA + "/anonymous") problems.push("ReplyTo " + reply);
  return problems.join(", ");
}

const answered = (operation, result) => (args, callback, headers, request) => {
  const problems = wrong(operation, headers || {}, request);
  console.log("node saw " + operation + (problems ? ": " + problems : " with its addressing headers"));
  if (problems) throw {Fault: {faultcode: "soap:Client", faultstring: problems}};
  return result(args);
};

const service = {
  AddressedService: {
    CalculatorPort: {
      Add: answered("Add", (args) => ({sum: Number(args.a) + Number(args.b)})),
      Greet: answered("Greet", (args) => ({greeting: "Hello, " + args.name + "!"})),
    },
    CalculatorPort12: {
      Add: answered("Add", (args) => ({sum: Number(args.a) + Number(args.b)})),
      Greet: answered("Greet", (args) => ({greeting: "Hello, " + args.name + "!"})),
    },
  },
};

const server = http.createServer((request, response) => response.end("404"));
server.listen(0, "127.0.0.1", () => {
  const reply = (methodName, args, headers) =>
    `<wsa:Action xmlns:wsa="${WSA}">${base}${methodName}Answer</wsa:Action>` +
    `<wsa:RelatesTo xmlns:wsa="${WSA}">${text(headers && headers.MessageID)}</wsa:RelatesTo>`;
  for (const where of ["/addressed", "/addressed12"])
    soap.listen(server, {path: where, services: service, xml: wsdl}).addSoapHeader(reply);
  console.log("port " + server.address().port);
});
