// Which files the palette's commands take as the scenario of the file in the editor.
const test = require("node:test");
const assert = require("node:assert");
const { scenarioOf } = require("../src/scenario");

const folder = ["Valle_linea.txt", "Valle_R 101-.txt", "Valle_R 102-.txt", "Valle_Alta_linea.txt",
  "Valle_Alta_R 7-.txt", "note.txt", "Valle_R 101_scheda_treno.txt"];

test("the line file and its train files, not those of a longer scenario name", () => {
  assert.deepStrictEqual(scenarioOf("/s/Valle_linea.txt", folder), { line: "Valle_linea.txt", trains: ["Valle_R 101-.txt", "Valle_R 102-.txt"] });
  assert.deepStrictEqual(scenarioOf("C:\\s\\Valle_Alta_linea.txt", folder), { line: "Valle_Alta_linea.txt", trains: ["Valle_Alta_R 7-.txt"] });
});

test("a train file takes the line file of the longest scenario name it begins with", () => {
  assert.deepStrictEqual(scenarioOf("/s/Valle_Alta_R 7-.txt", folder), { line: "Valle_Alta_linea.txt", trains: ["Valle_Alta_R 7-.txt"] });
  assert.deepStrictEqual(scenarioOf("/s/Valle_R 102-.txt", folder), { line: "Valle_linea.txt", trains: ["Valle_R 102-.txt"] });
});

test("what is missing is said", () => {
  for (const [file, names] of [["/s/Monte_linea.txt", ["Monte_linea.txt"]], ["/s/Monte_R 1-.txt", ["Monte_R 1-.txt"]],
                               ["/s/note.txt", folder]]) {
    assert.match(scenarioOf(file, names).problem, /^(Nessun|note\.txt non è)/);
  }
});
