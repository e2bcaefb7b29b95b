// The scenario author's editor: the line file and the train file of a
// scenario are checked while they are written by `autore lsp`, and the
// palette checks, compiles and draws the scenario with the same `autore`.
const vscode = require("vscode");
const path = require("path");
const fs = require("fs");
const os = require("os");
const { execFile } = require("child_process");
const { LanguageClient } = require("vscode-languageclient/node");
const { scenarioOf } = require("./scenario");
const { keepScenarioEncoding } = require("./encoding");

let client;
let output;

// The `autore` named by the setting, or the one inside the extension.
function autorePath(context) {
  const chosen = vscode.workspace.getConfiguration("autore").get("percorso", "").trim();
  if (chosen) return chosen;
  const name = process.platform === "win32" ? "autore.exe" : "autore";
  const inside = context.asAbsolutePath(path.join("server", name));
  if (process.platform !== "win32") {
    try {
      fs.chmodSync(inside, 0o755); // an unpacked archive may have lost the bit
    } catch (_) {
      // a read-only installation keeps the bit it was given
    }
  }
  return inside;
}

// Runs autore with the arguments, its messages in the channel; resolves with the exit status.
function run(context, args, cwd) {
  const program = autorePath(context);
  output.appendLine(`> autore ${args.map((a) => (/\s/.test(a) ? `"${a}"` : a)).join(" ")}`);
  return new Promise((resolve) => {
    execFile(program, args, { cwd, maxBuffer: 64 * 1024 * 1024 }, (error, stdout, stderr) => {
      if (stdout) output.append(stdout);
      if (stderr) output.append(stderr);
      if (error && typeof error.code !== "number") {
        output.appendLine(`impossibile avviare ${program}: ${error.message}`);
        resolve(-1);
        return;
      }
      const status = error ? error.code : 0;
      output.appendLine(`(stato d'uscita ${status})`);
      resolve(status);
    });
  });
}

// The scenario of the file in the editor: its line file and one train file.
async function currentScenario() {
  const editor = vscode.window.activeTextEditor;
  if (!editor || editor.document.uri.scheme !== "file") {
    vscode.window.showWarningMessage("Apri il file della linea o il file del treno dello scenario.");
    return undefined;
  }
  await editor.document.save();
  const file = editor.document.uri.fsPath;
  const found = scenarioOf(file, fs.readdirSync(path.dirname(file)));
  if (found.problem) {
    vscode.window.showWarningMessage(found.problem);
    return undefined;
  }
  let train = found.trains[0];
  if (found.trains.length > 1) {
    train = await vscode.window.showQuickPick(found.trains, { placeHolder: "Quale treno?" });
    if (!train) return undefined;
  }
  const folder = path.dirname(file);
  return { folder, line: path.join(folder, found.line), train: path.join(folder, train) };
}

// The folder the compile writes into: asked once for each line file.
async function compileFolder(context, scenario, askAgain) {
  const key = `cartella:${scenario.line}`;
  const known = context.workspaceState.get(key);
  if (known && !askAgain) return known;
  const picked = await vscode.window.showOpenDialog({
    canSelectFolders: true,
    canSelectFiles: false,
    canSelectMany: false,
    defaultUri: vscode.Uri.file(known || scenario.folder),
    openLabel: "Compila qui",
    title: "Cartella dei file compilati",
  });
  if (!picked || picked.length === 0) return undefined;
  await context.workspaceState.update(key, picked[0].fsPath);
  return picked[0].fsPath;
}

async function check(context) {
  const s = await currentScenario();
  if (!s) return;
  output.show(true);
  const status = await run(context, ["check", s.line, s.train], s.folder);
  const words = { 0: "Lo scenario non ha errori.", 2: "Lo scenario ha errori: vedi il canale Autore." };
  vscode.window.showInformationMessage(words[status] || "Il controllo non è riuscito: vedi il canale Autore.");
}

async function compile(context, askAgain) {
  const s = await currentScenario();
  if (!s) return;
  const folder = await compileFolder(context, s, askAgain);
  if (!folder) return;
  output.show(true);
  const status = await run(context, ["compile", s.line, s.train, "-o", folder], s.folder);
  const words = {
    0: `Scenario compilato in ${folder}.`,
    2: `Scenario compilato in ${folder}, ma con errori nei dati: vedi il canale Autore.`,
  };
  vscode.window.showInformationMessage(words[status] || "Nessun file scritto: vedi il canale Autore.");
}

// The route page: the scenario compiled into a folder of its own, drawn by
// `autore view` with its source lines, and opened in the browser.
async function routePage(context) {
  const s = await currentScenario();
  if (!s) return;
  const work = fs.mkdtempSync(path.join(os.tmpdir(), "autore-percorso-"));
  output.show(true);
  const compiled = await run(context, ["compile", s.line, s.train, "-o", work], s.folder);
  if (compiled !== 0 && compiled !== 2) {
    vscode.window.showErrorMessage("Lo scenario non si compila: vedi il canale Autore.");
    return;
  }
  const page = path.join(work, path.basename(s.line, ".txt") + ".html");
  const drawn = await run(context, ["view", work, "--sources", s.line, s.train, "-o", page], s.folder);
  if (drawn !== 0 || !fs.existsSync(page)) {
    vscode.window.showErrorMessage("La pagina del percorso non si è potuta fare: vedi il canale Autore.");
    return;
  }
  await vscode.env.openExternal(vscode.Uri.file(page));
}

function activate(context) {
  output = vscode.window.createOutputChannel("Autore");
  context.subscriptions.push(
    output,
    vscode.commands.registerCommand("autore.controlla", () => check(context)),
    vscode.commands.registerCommand("autore.compila", () => compile(context, false)),
    vscode.commands.registerCommand("autore.cartellaCompilazione", () => compile(context, true)),
    vscode.commands.registerCommand("autore.percorso", () => routePage(context))
  );
  keepScenarioEncoding(vscode, context);
  // The server as every editor starts it: `autore lsp`, on standard input and output.
  const server = { command: autorePath(context), args: ["lsp"] };
  client = new LanguageClient(
    "autore",
    "Autore (server)",
    { run: server, debug: server },
    {
      documentSelector: [
        { scheme: "file", language: "autore-linea" },
        { scheme: "file", language: "autore-treno" },
      ],
    }
  );
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
