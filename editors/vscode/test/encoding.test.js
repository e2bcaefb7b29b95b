// Which scenario files are read again from disk, and in which encoding.
const test = require("node:test");
const assert = require("node:assert");
const { encodingToReadAgain } = require("../src/encoding");

const file = { scheme: "file" };
const doc = (fields) => ({ languageId: "autore-linea", uri: file, isDirty: false, isClosed: false, ...fields });

test("a scenario file read in another encoding than its language's is read again in that one", () => {
  const rows = [
    // document, configured encoding, expected
    [doc({ encoding: "utf8" }), "windows1252", "windows1252"],
    [doc({ languageId: "autore-treno", encoding: "utf8" }), "windows1252", "windows1252"],
    [doc({ encoding: "utf8" }), undefined, "windows1252"],
    [doc({ encoding: "utf8" }), "iso885915", "iso885915"], // the author's own setting holds
    [doc({ encoding: "windows1252" }), "windows1252", undefined],
  ];
  for (const [d, configured, expected] of rows) {
    assert.strictEqual(encodingToReadAgain(d, configured), expected, JSON.stringify([d, configured]));
  }
});

test("nothing typed is lost, and other files and older editors are left alone", () => {
  const rows = [
    doc({ encoding: "utf8", isDirty: true }), // read again, it would lose what was typed
    doc({ encoding: "utf8", isClosed: true }),
    doc({ encoding: "utf8", uri: { scheme: "untitled" } }),
    doc({ encoding: "utf8", languageId: "plaintext" }),
    doc({}), // an editor that does not say a document's encoding
  ];
  for (const d of rows) assert.strictEqual(encodingToReadAgain(d, "windows1252"), undefined, JSON.stringify(d));
});
