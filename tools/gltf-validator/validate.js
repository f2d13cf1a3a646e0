// Validates glTF 2.0 files (.gltf or .glb) with the Khronos validator.
// Usage: node validate.js FILE...   Prints one line per file and every error; exits 1 when a file
// has errors or cannot be read, 0 otherwise. Warnings and hints are counted, not failed on.
'use strict';
const fs = require('fs');
const path = require('path');
const validator = require('gltf-validator');

function readBeside(file) {
    const folder = path.dirname(path.resolve(file));
    return (uri) => new Promise((resolve, reject) => {
        const resolved = path.resolve(folder, decodeURIComponent(uri));
        if (path.relative(folder, resolved).startsWith('..')) {
            reject(`${uri} is outside the file's folder`);
            return;
        }
        fs.readFile(resolved, (error, data) => (error ? reject(error.toString()) : resolve(data)));
    });
}

async function validate(file) {
    const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
        uri: path.basename(file),
        maxIssues: 100,
        externalResourceFunction: readBeside(file),
    });
    const issues = report.issues;
    console.log(`${file}: ${issues.numErrors} errors, ${issues.numWarnings} warnings, ${issues.numInfos} infos`);
    for (const message of issues.messages.filter((m) => m.severity === 0)) {
        console.log(`  error ${message.code} at ${message.pointer || '/'}: ${message.message}`);
    }
    return issues.numErrors === 0;
}

async function main(files) {
    if (files.length === 0) {
        console.error('usage: validate.js FILE...');
        return 2;
    }
    let ok = true;
    for (const file of files) {
        try {
            ok = (await validate(file)) && ok;
        } catch (error) {
            console.log(`${file}: cannot validate: ${error}`);
            ok = false;
        }
    }
    return ok ? 0 : 1;
}

main(process.argv.slice(2)).then((code) => process.exit(code));
