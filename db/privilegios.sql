/* A role with exactly what the capsule register does in the suite database,
   for a user of its own instead of SYSDBA. Run once with isql as SYSDBA
   against the suite database, like db/suite.sql; then create the program's
   user and give it the role (below), and set ISC_USER and ISC_PASSWORD on
   each workstation (administrator's guide, "A user of the program's own").

   The role's name is the one the program names at every connection,
   "RoleName", which the server reads in capitals: a Firebird 3 connection has
   a role's rights only when it names that role. Keep the name. */

CREATE ROLE ROLENAME;

-- The capsules: listed, searched, edited, inserted (the next code is read over every row) and deleted.
GRANT SELECT, INSERT, UPDATE, DELETE ON COMPONEN TO ROLENAME;

-- Read only: the sign-on, the workstations, the colours and the last purchases with the supplier's telephone.
GRANT SELECT ON USUARIOS TO ROLENAME;
GRANT SELECT ON ESTACOES TO ROLENAME;
GRANT SELECT ON CORCAP TO ROLENAME;
GRANT SELECT ON COMPRAS TO ROLENAME;
GRANT SELECT ON NFISCAL TO ROLENAME;
GRANT SELECT ON FORNECED TO ROLENAME;

COMMIT;

/* The program's user, with a password of your own (the user lives on the
   server, the role in this database):

     CREATE USER CAPSULAS PASSWORD 'a password of your own' USING PLUGIN Srp;
     GRANT ROLENAME TO USER CAPSULAS;
     COMMIT;

   Where a server holds the help pages' database TUTORIAL.BD as well, run in
   that database (a role belongs to one database):

     CREATE ROLE ROLENAME;
     GRANT SELECT, INSERT, UPDATE, DELETE ON TUTORIAL TO ROLENAME;
     GRANT ROLENAME TO USER CAPSULAS;
     COMMIT;
*/
